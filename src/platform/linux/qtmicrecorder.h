#pragma once

#include "audiorecorder.h"

#include <QAudioDevice>
#include <QObject>
#include <memory>
#include <optional>

class QAudioInput;
class QAudioOutput;
class QAudioSource;
class QIODevice;
class QMediaCaptureSession;
class QMediaPlayer;
class QMediaRecorder;

namespace platform {

// Records the microphone with QMediaRecorder (AAC in MPEG-4 through
// GStreamer) while a parallel QAudioSource measures the level. Linux asks
// no permission; a machine without an input device cannot open the mic.
class QtMicRecorder final : public QObject, public IMicRecorder {
    Q_OBJECT
public:
    // device: the input to record; the system's default input when absent.
    explicit QtMicRecorder(std::optional<QAudioDevice> device = std::nullopt, QObject *parent = nullptr);
    ~QtMicRecorder() override;

    void requestPermission(std::function<void(bool)> done) override;
    bool start(const QString &path) override;
    void stop() override;
    double averagePowerDb() override;

    // dBFS of the root mean square of 16-bit samples; -160 for silence.
    static double powerDb(const qint16 *samples, qsizetype count);

private:
    std::optional<QAudioDevice> m_device;
    std::unique_ptr<QMediaCaptureSession> m_session;
    std::unique_ptr<QAudioInput> m_input;
    std::unique_ptr<QMediaRecorder> m_recorder;
    std::unique_ptr<QAudioSource> m_meterSource;
    QIODevice *m_meterStream = nullptr;
    double m_lastDb = -160;
};

// Plays a sound file once through QMediaPlayer.
class QtAudioPlayer final : public QObject, public IAudioPlayer {
    Q_OBJECT
public:
    explicit QtAudioPlayer(QObject *parent = nullptr);
    ~QtAudioPlayer() override;
    bool play(const QString &path) override;

private:
    std::unique_ptr<QAudioOutput> m_output;
    std::unique_ptr<QMediaPlayer> m_player;
};

// The X11 bell and a sound of the freedesktop sound theme.
class DesktopSoundPlayer final : public QObject, public ISoundPlayer {
    Q_OBJECT
public:
    static inline const QString DefaultAlert = QStringLiteral("/usr/share/sounds/freedesktop/stereo/bell.oga");

    explicit DesktopSoundPlayer(const QString &alertFile = DefaultAlert, QObject *parent = nullptr);
    ~DesktopSoundPlayer() override;
    void beep() override;
    bool playAlert() override;

private:
    QString m_alertFile;
    QtAudioPlayer m_player;
};

} // namespace platform
