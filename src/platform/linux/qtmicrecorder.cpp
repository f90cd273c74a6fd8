#include "qtmicrecorder.h"

#include <QApplication>
#include <QAudioInput>
#include <QAudioOutput>
#include <QAudioSource>
#include <QFileInfo>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QMediaFormat>
#include <QMediaPlayer>
#include <QMediaRecorder>
#include <QTimer>
#include <QUrl>
#include <cmath>

namespace platform {

QtMicRecorder::QtMicRecorder(std::optional<QAudioDevice> device, QObject *parent)
    : QObject(parent), m_device(std::move(device))
{
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
    stop();
    const QAudioDevice device = m_device.value_or(QMediaDevices::defaultAudioInput());
    if (device.isNull())
        return false;

    m_session = std::make_unique<QMediaCaptureSession>();
    m_input = std::make_unique<QAudioInput>(device);
    m_recorder = std::make_unique<QMediaRecorder>();
    m_session->setAudioInput(m_input.get());
    m_session->setRecorder(m_recorder.get());
    QMediaFormat format(QMediaFormat::MPEG4);
    format.setAudioCodec(QMediaFormat::AudioCodec::AAC);
    m_recorder->setMediaFormat(format);
    m_recorder->setAudioSampleRate(44100);
    m_recorder->setAudioChannelCount(1);
    m_recorder->setOutputLocation(QUrl::fromLocalFile(path));
    m_recorder->record();
    if (m_recorder->error() != QMediaRecorder::NoError) {
        stop();
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

void QtMicRecorder::stop()
{
    if (m_recorder)
        m_recorder->stop();
    if (m_meterSource)
        m_meterSource->stop();
    m_meterStream = nullptr;
    m_meterSource.reset();
    m_recorder.reset();
    m_input.reset();
    m_session.reset();
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

QtAudioPlayer::QtAudioPlayer(QObject *parent) : QObject(parent) {}

QtAudioPlayer::~QtAudioPlayer() = default;

bool QtAudioPlayer::play(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable() || info.size() == 0)
        return false;
    if (!m_player) {
        m_output = std::make_unique<QAudioOutput>();
        m_player = std::make_unique<QMediaPlayer>();
        m_player->setAudioOutput(m_output.get());
    }
    m_player->stop();
    m_player->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    m_player->play();
    return m_player->error() == QMediaPlayer::NoError;
}

DesktopSoundPlayer::DesktopSoundPlayer(const QString &alertFile, QObject *parent)
    : QObject(parent), m_alertFile(alertFile)
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
