#include "tools/miccheckengine.h"

#include "platform/audiorecorder.h"
#include "tools/toolfolders.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <algorithm>

MicCheckEngine::MicCheckEngine(platform::IMicRecorder *recorder, platform::IAudioPlayer *player,
                               platform::ISoundPlayer *sounds, Scheduler *scheduler, const QString &takePath,
                               QObject *parent)
    : QObject(parent), m_recorder(recorder), m_player(player), m_sounds(sounds), m_scheduler(scheduler),
      m_takePath(takePath)
{
    // A take plays back once the recorder has completed its file.
    connect(m_recorder, &platform::IMicRecorder::finished, this, [this] {
        if (std::exchange(m_awaitingTake, false))
            playBack();
    });
    connect(m_recorder, &platform::IMicRecorder::failed, this, &MicCheckEngine::recorderFailed);
    // The recorder ended the take itself.
    connect(m_recorder, &platform::IMicRecorder::inputLost, this, [this] {
        if (m_recording)
            loseInput();
    });
    // The take began to play but could not be heard (the sound server gone).
    connect(m_player, &platform::IAudioPlayer::failed, this, [this] {
        if (m_played)
            setStatus(QStringLiteral("Nothing to play back"));
    });
}

MicCheckEngine::~MicCheckEngine()
{
    m_meter.cancel();
    if (m_recording)
        m_recorder->stop();
    if (m_played && m_player->state() != platform::IAudioPlayer::State::Stopped)
        m_player->stop();
}

void MicCheckEngine::recorderFailed()
{
    // A take that broke off, while recording or while its file was being
    // completed, ends like a stopped one but plays nothing.
    if (!m_recording && !m_awaitingTake)
        return;
    m_meter.cancel();
    if (m_recording)
        m_recorder->stop();
    m_awaitingTake = false;
    setRecording(false);
    setLevel(0);
    setStatus(std::exchange(m_inputLost, false) ? QStringLiteral("Microphone lost") : QStringLiteral("Couldn't record"));
}

void MicCheckEngine::loseInput()
{
    m_meter.cancel();
    setRecording(false);
    setLevel(0);
    m_awaitingTake = true;
    m_inputLost = true;
    setStatus(QStringLiteral("Microphone lost"));
}

QString MicCheckEngine::defaultTakePath()
{
    const QString folder = ToolFolders::privateScratch();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("pavlet-mic-check.m4a"));
}

float MicCheckEngine::levelFor(double averagePowerDb)
{
    return float(std::clamp((averagePowerDb + 50.0) / 50.0, 0.0, 1.0));
}

void MicCheckEngine::playTone()
{
    m_sounds->beep();
    setStatus(QStringLiteral("System beep"));
    // The text names the tone whether or not its sound could be loaded.
    m_sounds->playAlert();
    setStatus(QStringLiteral("Played Funk"));
}

void MicCheckEngine::toggleRecord()
{
    if (m_recording) {
        m_recorder->stop();
        m_meter.cancel();
        setRecording(false);
        setLevel(0);
        m_awaitingTake = true;
        return;
    }
    // A second press while a take is starting would open a second recorder
    // on the same file.
    if (m_starting)
        return;
    m_starting = true;
    QPointer<MicCheckEngine> self(this);
    m_recorder->requestPermission([self](bool granted) {
        if (self)
            self->permissionAnswered(granted);
    });
}

void MicCheckEngine::permissionAnswered(bool granted)
{
    m_starting = false;
    if (!granted) {
        setStatus(QStringLiteral("Allow microphone in System Settings"));
        return;
    }
    m_inputLost = false;
    if (!m_takePath.isEmpty())
        QFile::remove(m_takePath);
    if (m_takePath.isEmpty() || !m_recorder->start(m_takePath)) {
        setStatus(QStringLiteral("Couldn't open the mic"));
        return;
    }
    setRecording(true);
    setStatus(QStringLiteral("Recording\u2026 tap to play back"));
    m_stall.reset();
    m_meter = m_scheduler->every(MeterIntervalMs, [this] { updateMeter(); });
}

void MicCheckEngine::updateMeter()
{
    setLevel(levelFor(m_recorder->averagePowerDb()));
    if (m_stall.stalled(m_recorder->currentTime())) {
        // The input gives nothing without having gone away (suspended, or
        // its stream stuck); the stop keeps what it gave.
        m_recorder->stop();
        loseInput();
    }
}

void MicCheckEngine::playBack()
{
    if (m_takePath.isEmpty() || !m_player->play(m_takePath)) {
        setStatus(QStringLiteral("Nothing to play back"));
        return;
    }
    m_played = true;
    if (!std::exchange(m_inputLost, false))
        setStatus(QStringLiteral("Playing your take"));
}

void MicCheckEngine::setStatus(const QString &status)
{
    if (m_status != status) {
        m_status = status;
        emit statusChanged();
    }
}

void MicCheckEngine::setLevel(float level)
{
    if (m_level != level) {
        m_level = level;
        emit levelChanged();
    }
}

void MicCheckEngine::setRecording(bool recording)
{
    if (m_recording != recording) {
        m_recording = recording;
        emit recordingChanged();
    }
}
