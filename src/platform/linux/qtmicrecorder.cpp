#include "platform/linux/qtmicrecorder.h"

#include "core/logging.h"

#include <QApplication>
#include <QAudioFormat>
#include <QAudioSource>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace platform {

QtMicRecorder::QtMicRecorder(std::optional<QAudioDevice> device, DefaultInput defaultInput, QObject *parent)
    : IMicRecorder(parent)
    , m_device(std::move(device))
    , m_defaultInput(std::move(defaultInput))
{
}

QtMicRecorder::~QtMicRecorder()
{
    // A take under way keeps what it holds.
    stop();
    QThread *thread = m_thread;
    if (!thread)
        return;
    retireCapture();
    // A thread still waiting for the sound server is left to end with the
    // program.
    disconnect(thread, &QThread::finished, thread, &QObject::deleteLater);
    if (thread->wait(1000))
        delete thread;
}

void QtMicRecorder::requestPermission(std::function<void(bool)> done)
{
    // Linux has no microphone permission; answer as a later turn of the loop
    // would on a system that asks.
    QTimer::singleShot(0, this, [done = std::move(done)] { done(true); });
}

QAudioDevice QtMicRecorder::inputDevice() const
{
    if (m_device)
        return *m_device;
    // Qt's own default is the first input the server lists, not the one the
    // desktop chose.
    const QString wanted = m_defaultInput ? m_defaultInput() : QString();
    const QList<QAudioDevice> inputs = QMediaDevices::audioInputs();
    for (const QAudioDevice &input : inputs) {
        if (!wanted.isEmpty() && input.id() == wanted.toUtf8())
            return input;
    }
    return QMediaDevices::defaultAudioInput();
}

bool QtMicRecorder::start(const QString &path)
{
    if (m_open)
        return false;
    const QAudioDevice device = inputDevice();
    if (device.isNull())
        return false;
    QAudioFormat format;
    format.setSampleRate(SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!m_writer.open(path, SampleRate)) {
        qCWarning(lcPlatform) << "no AAC encoder for" << path;
        return false;
    }
    m_takePath = path;
    m_carry.clear();
    m_started = false;
    m_lastDb = -160;
    const int take = ++m_take;
    m_since.start();
    startCapture();
    m_open = true;
    QMetaObject::invokeMethod(m_capture, [capture = m_capture, take, device, format] {
        capture->open(take, device, format, SampleRate * 2 / 20);
    });
    QTimer::singleShot(NoSoundLimitMs, this, [this, take] {
        if (take != m_take || !m_open || m_started)
            return;
        qCWarning(lcPlatform) << "the microphone gave no sound";
        failTake();
        // It may still be waiting for the server: the next take opens on a
        // thread of its own.
        retireCapture();
    });
    return true;
}

void QtMicRecorder::startCapture()
{
    if (m_thread)
        return;
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("microphone"));
    m_capture = new MicCapture;
    m_capture->moveToThread(m_thread);
    connect(m_capture, &MicCapture::sound, this, &QtMicRecorder::onSound);
    connect(m_capture, &MicCapture::broke, this, [this](int take) {
        if (take == m_take && m_open)
            failTake();
    });
    connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    m_thread->start();
}

void QtMicRecorder::retireCapture()
{
    if (!m_thread)
        return;
    disconnect(m_capture, nullptr, this, nullptr);
    // Runs after whatever the thread still has to do; the thread then ends
    // and deletes itself.
    QMetaObject::invokeMethod(m_capture, [capture = m_capture] {
        delete capture;
        QThread::currentThread()->quit();
    });
    m_capture = nullptr;
    m_thread = nullptr;
}

void QtMicRecorder::onSound(int take, const QByteArray &bytes)
{
    if (take != m_take || !m_open)
        return;
    QByteArray data = m_carry + bytes;
    const qsizetype count = data.size() / qsizetype(sizeof(qint16));
    m_carry = data.mid(count * qsizetype(sizeof(qint16)));
    if (count == 0)
        return;
    const auto *samples = reinterpret_cast<const qint16 *>(data.constData());
    m_lastDb = powerDb(samples, count);
    // A take holds no more than the time it has run: some virtual inputs
    // hand out their sound ahead of time, in blocks of seconds.
    const qint64 due = (m_since.elapsed() + AheadMs) * SampleRate / 1000 - m_writer.samplesWritten();
    const qsizetype kept = qsizetype(std::clamp<qint64>(due, 0, count));
    if (kept == 0)
        return;
    if (!m_writer.write(samples, kept)) {
        qCWarning(lcPlatform) << "the recording could not be written";
        failTake();
        return;
    }
    if (!m_started) {
        m_started = true;
        emit recordingStarted();
    }
}

void QtMicRecorder::failTake()
{
    closeInput();
    m_writer.abort();
    QFile::remove(m_takePath);
    reportLater(&QtMicRecorder::failed);
}

void QtMicRecorder::closeInput()
{
    m_open = false;
    if (m_capture)
        QMetaObject::invokeMethod(m_capture, [capture = m_capture] { capture->close(); });
}

void QtMicRecorder::reportLater(void (QtMicRecorder::*signal)())
{
    const int take = m_take;
    QTimer::singleShot(0, this, [this, take, signal] {
        if (take == m_take)
            emit(this->*signal)();
    });
}

void QtMicRecorder::stop()
{
    if (!m_open)
        return;
    closeInput();
    if (!m_writer.isOpen())
        return;
    if (m_writer.samplesWritten() == 0) {
        // Stopped before the input gave any sound: there is no take.
        m_writer.abort();
        QFile::remove(m_takePath);
        reportLater(&QtMicRecorder::failed);
        return;
    }
    if (!m_writer.finish()) {
        QFile::remove(m_takePath);
        reportLater(&QtMicRecorder::failed);
        return;
    }
    reportLater(&QtMicRecorder::finished);
}

double QtMicRecorder::currentTime() const
{
    return m_open ? double(m_writer.samplesWritten()) / SampleRate : 0;
}

double QtMicRecorder::powerDb(const qint16 *samples, qsizetype count)
{
    if (count <= 0)
        return -160;
    double sum = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const double v = samples[i] / 32768.0;
        sum += v * v;
    }
    const double rms = std::sqrt(sum / double(count));
    return rms <= 1e-8 ? -160 : std::max(-160.0, 20.0 * std::log10(rms));
}

double QtMicRecorder::averagePowerDb()
{
    return m_open ? m_lastDb : -160;
}

QtAudioPlayer::QtAudioPlayer(QObject *parent)
    : IAudioPlayer(parent)
{
}

QMediaPlayer &QtAudioPlayer::player()
{
    if (m_out)
        return m_out->player;
    m_out = std::make_unique<Output>();
    QMediaPlayer &player = m_out->player;
    player.setAudioOutput(&m_out->output);
    connect(&player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState s) {
        switch (s) {
        case QMediaPlayer::PlayingState: setState(State::Playing); break;
        case QMediaPlayer::PausedState: setState(State::Paused); break;
        case QMediaPlayer::StoppedState: setState(State::Stopped); break;
        }
    });
    connect(&player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString &text) {
        if (error == QMediaPlayer::NoError)
            return;
        qCWarning(lcPlatform) << "playback failed:" << text;
        // A player that failed once may stay mute: the next sound gets a new one.
        m_failed = true;
        setState(State::Stopped);
    });
    return player;
}

QtAudioPlayer::~QtAudioPlayer() = default;

bool QtAudioPlayer::play(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable() || info.size() == 0)
        return false;
    if (m_failed) {
        m_failed = false;
        m_out.reset();
    }
    QMediaPlayer &p = player();
    // The desktop's output of the moment (Qt may not have listed it yet when
    // the player was made).
    m_out->output.setDevice(QMediaDevices::defaultAudioOutput());
    p.stop();
    p.setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    if (p.error() != QMediaPlayer::NoError)
        return false;
    // Reported as playing at once, so that a check right after the press
    // does not take a player that is still loading for a finished one.
    setState(State::Playing);
    p.play();
    return true;
}

void QtAudioPlayer::pause()
{
    if (m_out)
        m_out->player.pause();
    setState(State::Paused);
}

void QtAudioPlayer::resume()
{
    setState(State::Playing);
    if (m_out)
        m_out->player.play();
}

void QtAudioPlayer::stop()
{
    if (m_out) {
        m_out->player.stop();
        m_out->player.setSource(QUrl());
    }
    setState(State::Stopped);
}

void QtAudioPlayer::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

DesktopSoundPlayer::DesktopSoundPlayer(const QString &alertFile, QObject *parent)
    : QObject(parent)
    , m_alertFile(alertFile)
{
}

DesktopSoundPlayer::~DesktopSoundPlayer() = default;

void DesktopSoundPlayer::beep()
{
    QApplication::beep();
}

bool DesktopSoundPlayer::playAlert()
{
    return m_player.play(m_alertFile);
}

} // namespace platform
