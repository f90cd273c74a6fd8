#include "qtaudiorecorder.h"

#include "logging.h"

#include <QAudioFormat>
#include <QAudioSource>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaFormat>
#include <QUrl>
#include <cmath>

QtAudioRecorder::QtAudioRecorder(QObject *parent)
    : platform::IAudioRecorder(parent)
{
    m_session.setAudioInput(&m_input);
    m_session.setRecorder(&m_recorder);
    QMediaFormat format(QMediaFormat::Mpeg4Audio);
    format.setAudioCodec(QMediaFormat::AudioCodec::AAC);
    m_recorder.setMediaFormat(format);
    m_recorder.setQuality(QMediaRecorder::HighQuality);
    m_recorder.setAudioSampleRate(44100);
    m_recorder.setAudioChannelCount(1);
    m_recorder.setEncodingMode(QMediaRecorder::ConstantQualityEncoding);
    connect(&m_recorder, &QMediaRecorder::recorderStateChanged, this, [this](QMediaRecorder::RecorderState state) {
        if (state == QMediaRecorder::StoppedState && m_finishing) {
            m_finishing = false;
            emit finished();
        }
    });
    connect(&m_recorder, &QMediaRecorder::errorOccurred, this,
            [this](QMediaRecorder::Error error, const QString &text) {
                if (error == QMediaRecorder::NoError)
                    return;
                qCWarning(lcPlatform) << "recording failed:" << text;
                if (m_active) {
                    m_active = false;
                    emit failed();
                }
            });
}

QtAudioRecorder::~QtAudioRecorder()
{
    stop();
}

void QtAudioRecorder::requestAccess()
{
    const bool granted = !QMediaDevices::audioInputs().isEmpty();
    QMetaObject::invokeMethod(this, [this, granted] { emit accessAnswered(granted); }, Qt::QueuedConnection);
}

bool QtAudioRecorder::record(const QString &path)
{
    if (m_active || QMediaDevices::audioInputs().isEmpty())
        return false;
    m_input.setDevice(QMediaDevices::defaultAudioInput());
    m_recorder.setOutputLocation(QUrl::fromLocalFile(path));
    m_active = true;
    m_recorder.record();
    if (m_recorder.error() != QMediaRecorder::NoError) {
        m_active = false;
        return false;
    }

    QAudioFormat format;
    format.setSampleRate(44100);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    m_power = -160;
    m_levelSource = std::make_unique<QAudioSource>(QMediaDevices::defaultAudioInput(), format);
    m_levelDevice = m_levelSource->start();
    if (m_levelDevice)
        connect(m_levelDevice, &QIODevice::readyRead, this, &QtAudioRecorder::readLevel);
    return true;
}

void QtAudioRecorder::stop()
{
    if (m_levelSource) {
        m_levelSource->stop();
        m_levelSource.reset();
        m_levelDevice = nullptr;
    }
    if (m_active) {
        m_active = false;
        m_finishing = true;
        m_recorder.stop();
    }
}

double QtAudioRecorder::currentTime() const
{
    return double(m_recorder.duration()) / 1000.0;
}

double QtAudioRecorder::rmsDbfs(const qint16 *samples, qsizetype count)
{
    if (count <= 0)
        return -160;
    double sum = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const double s = samples[i] / 32768.0;
        sum += s * s;
    }
    const double rms = std::sqrt(sum / double(count));
    return rms > 1e-8 ? std::max(-160.0, 20.0 * std::log10(rms)) : -160.0;
}

void QtAudioRecorder::readLevel()
{
    if (!m_levelDevice)
        return;
    const QByteArray data = m_levelDevice->readAll();
    const qsizetype count = data.size() / qsizetype(sizeof(qint16));
    if (count > 0)
        m_power = rmsDbfs(reinterpret_cast<const qint16 *>(data.constData()), count);
}

QtAudioPlayer::QtAudioPlayer(QObject *parent)
    : platform::IAudioPlayer(parent)
{
    m_player.setAudioOutput(&m_output);
    connect(&m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState s) {
        switch (s) {
        case QMediaPlayer::PlayingState: setState(State::Playing); break;
        case QMediaPlayer::PausedState: setState(State::Paused); break;
        case QMediaPlayer::StoppedState: setState(State::Stopped); break;
        }
    });
    connect(&m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString &text) {
        if (error == QMediaPlayer::NoError)
            return;
        qCWarning(lcPlatform) << "playback failed:" << text;
        setState(State::Stopped);
    });
}

bool QtAudioPlayer::open(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return false;
    m_player.setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    return m_player.error() == QMediaPlayer::NoError;
}

void QtAudioPlayer::play()
{
    // Reported as playing at once, so that the first check after a press
    // does not take a player that is still loading for a finished one.
    setState(State::Playing);
    m_player.play();
}

void QtAudioPlayer::pause()
{
    m_player.pause();
    setState(State::Paused);
}

void QtAudioPlayer::stop()
{
    m_player.stop();
    m_player.setSource(QUrl());
    setState(State::Stopped);
}

void QtAudioPlayer::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}
