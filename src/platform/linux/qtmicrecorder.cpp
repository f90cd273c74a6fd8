#include "platform/linux/qtmicrecorder.h"

#include "core/logging.h"

#include <QApplication>
#include <QAudioFormat>
#include <QAudioSource>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaFormat>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace platform {

QtMicRecorder::QtMicRecorder(std::optional<QAudioDevice> device, QObject *parent)
    : IMicRecorder(parent)
    , m_device(std::move(device))
{
}

std::unique_ptr<QtMicRecorder::Pipeline> QtMicRecorder::makePipeline(const QAudioDevice &device)
{
    auto p = std::make_unique<Pipeline>();
    QMediaRecorder &recorder = p->recorder;
    p->input.setDevice(device);
    p->session.setAudioInput(&p->input);
    p->session.setRecorder(&recorder);
    // MPEG-4 audio rather than MPEG-4: the recorder keeps the ".m4a" of the
    // name instead of adding ".mp4".
    QMediaFormat format(QMediaFormat::Mpeg4Audio);
    format.setAudioCodec(QMediaFormat::AudioCodec::AAC);
    recorder.setMediaFormat(format);
    recorder.setQuality(QMediaRecorder::HighQuality);
    recorder.setEncodingMode(QMediaRecorder::ConstantQualityEncoding);
    recorder.setAudioSampleRate(44100);
    recorder.setAudioChannelCount(1);
    // The recorder reports RecordingState as soon as record() is called;
    // its duration moves only once sound reaches the encoder.
    Pipeline *chain = p.get();
    connect(&recorder, &QMediaRecorder::durationChanged, this, [this, chain](qint64 ms) {
        if (chain == m_pipeline.get() && m_active && !m_started && ms > 0) {
            m_started = true;
            emit recordingStarted();
        }
    });
    connect(&recorder, &QMediaRecorder::recorderStateChanged, this,
            [this, chain](QMediaRecorder::RecorderState state) {
                if (state != QMediaRecorder::StoppedState)
                    return;
                if (chain != m_pipeline.get()) {
                    retire(chain);
                    return;
                }
                if (!m_finishing)
                    return;
                // The muxer has written the file's index: the take is complete.
                m_finishing = false;
                retire(chain);
                emit finished();
            });
    connect(&recorder, &QMediaRecorder::errorOccurred, this,
            [this, chain](QMediaRecorder::Error error, const QString &text) {
                if (error == QMediaRecorder::NoError)
                    return;
                qCWarning(lcPlatform) << "recording failed:" << text;
                if (chain != m_pipeline.get()) {
                    retire(chain);
                    return;
                }
                if (!m_active && !m_finishing)
                    return;
                m_active = false;
                m_finishing = false;
                stopMeter();
                retire(chain);
                emit failed();
            });
    return p;
}

void QtMicRecorder::retire(Pipeline *chain)
{
    std::unique_ptr<Pipeline> gone;
    if (m_pipeline.get() == chain) {
        gone = std::move(m_pipeline);
    } else {
        const auto it = std::find_if(m_draining.begin(), m_draining.end(),
                                     [chain](const std::unique_ptr<Pipeline> &d) { return d.get() == chain; });
        if (it == m_draining.end())
            return;
        gone = std::move(*it);
        m_draining.erase(it);
    }
    // Destroyed from the event loop: this runs inside one of its signals.
    m_retired.push_back(std::move(gone));
    QTimer::singleShot(0, this, [this] { m_retired.clear(); });
}

QtMicRecorder::~QtMicRecorder()
{
    stop();
}

void QtMicRecorder::requestPermission(std::function<void(bool)> done)
{
    // Linux has no microphone permission; answer as a later turn of the loop
    // would on a system that asks.
    QTimer::singleShot(0, this, [done = std::move(done)] { done(true); });
}

bool QtMicRecorder::start(const QString &path)
{
    if (m_active)
        return false;
    if (m_finishing) {
        // The earlier take completes its file on its own, unreported.
        m_finishing = false;
        m_draining.push_back(std::move(m_pipeline));
    }
    const QAudioDevice device = m_device.value_or(QMediaDevices::defaultAudioInput());
    if (device.isNull())
        return false;
    m_takeDevice = device;
    m_takePath = path;
    m_active = true;
    m_started = false;
    if (!record()) {
        m_active = false;
        return false;
    }

    // QMediaRecorder has no level meter: read the same input in parallel.
    QAudioFormat meterFormat;
    meterFormat.setSampleRate(44100);
    meterFormat.setChannelCount(1);
    meterFormat.setSampleFormat(QAudioFormat::Int16);
    if (device.isFormatSupported(meterFormat)) {
        m_meterSource = std::make_unique<QAudioSource>(device, meterFormat);
        m_meterStream = m_meterSource->start();
    }
    m_lastDb = -160;
    return true;
}

bool QtMicRecorder::record()
{
    m_pipeline = makePipeline(m_takeDevice);
    Pipeline &p = *m_pipeline;
    p.recorder.setOutputLocation(QUrl::fromLocalFile(m_takePath));
    p.recorder.record();
    if (p.recorder.error() != QMediaRecorder::NoError) {
        retire(&p);
        return false;
    }
    const int attempt = ++m_attempt;
    QTimer::singleShot(StartRetryMs, this, [this, attempt] {
        if (attempt != m_attempt || !m_active || m_started || !m_pipeline)
            return;
        qCWarning(lcPlatform) << "the recorder got no sound; starting it again";
        // Gone before the new chain opens the file: it holds no sound to keep.
        m_pipeline.reset();
        if (!record()) {
            m_active = false;
            stopMeter();
            emit failed();
        }
    });
    return true;
}

void QtMicRecorder::stopMeter()
{
    if (m_meterSource)
        m_meterSource->stop();
    m_meterStream = nullptr;
    m_meterSource.reset();
}

void QtMicRecorder::stop()
{
    stopMeter();
    if (!m_active)
        return;
    m_active = false;
    // The chain stays until the recorder has completed the file.
    m_finishing = true;
    m_pipeline->recorder.stop();
}

double QtMicRecorder::currentTime() const
{
    return m_pipeline && m_active ? double(m_pipeline->recorder.duration()) / 1000.0 : 0;
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
    if (!m_meterStream)
        return -160;
    const QByteArray data = m_meterStream->readAll();
    if (data.size() >= qsizetype(sizeof(qint16)))
        m_lastDb = powerDb(reinterpret_cast<const qint16 *>(data.constData()), data.size() / qsizetype(sizeof(qint16)));
    return m_lastDb;
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
    QMediaPlayer &p = player();
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
