#pragma once

#include "platform/audiorecorder.h"

#include <QAudioDevice>
#include <QAudioInput>
#include <QAudioOutput>
#include <QMediaCaptureSession>
#include <QMediaPlayer>
#include <QMediaRecorder>
#include <memory>
#include <optional>
#include <vector>

class QAudioSource;
class QIODevice;

namespace platform {

// Records the microphone with QMediaRecorder (AAC in MPEG-4 audio through
// GStreamer, so a ".m4a" name is kept as given) while a parallel
// QAudioSource measures the level. Linux asks no permission; a machine
// without an input device cannot open the mic.
//
// Each take has a recording chain of its own: the capture session holds the
// input open for as long as it exists, so the chain goes once the take's
// file is complete. A take may start while the one before still completes
// its file; that one then finishes unreported. The take counts as started when the encoder has been
// handed its first sound, which can be seconds after record() on a busy
// machine.
class QtMicRecorder final : public IMicRecorder {
    Q_OBJECT
public:
    // device: the input to record; the system's default input when absent.
    explicit QtMicRecorder(std::optional<QAudioDevice> device = std::nullopt, QObject *parent = nullptr);
    ~QtMicRecorder() override;

    void requestPermission(std::function<void(bool)> done) override;
    bool start(const QString &path) override;
    void stop() override;
    double averagePowerDb() override;
    double currentTime() const override;

    // dBFS of the root mean square of 16-bit samples; -160 for silence.
    static double powerDb(const qint16 *samples, qsizetype count);

    // A chain that has handed the encoder no sound by then is built again:
    // now and then a new capture session never starts its input.
    static constexpr int StartRetryMs = 3000;

    // Whether a recording chain exists (and so holds the input open).
    bool hasPipeline() const { return m_pipeline != nullptr; }

private:
    struct Pipeline {
        QMediaCaptureSession session;
        QAudioInput input;
        QMediaRecorder recorder;
    };
    std::unique_ptr<Pipeline> makePipeline(const QAudioDevice &device);
    // Lets the chain go after the current signal has returned.
    void retire(Pipeline *chain);
    void stopMeter();
    // Builds the chain for the take's file and starts it.
    bool record();

    std::optional<QAudioDevice> m_device;
    QAudioDevice m_takeDevice;
    QString m_takePath;
    int m_attempt = 0; // counts chain builds, so a stale retry does nothing
    std::unique_ptr<Pipeline> m_pipeline;
    // Earlier takes still completing their files, after a new take began.
    std::vector<std::unique_ptr<Pipeline>> m_draining;
    std::vector<std::unique_ptr<Pipeline>> m_retired; // deleted by the next turn of the loop
    std::unique_ptr<QAudioSource> m_meterSource;
    QIODevice *m_meterStream = nullptr;
    double m_lastDb = -160;
    bool m_active = false;    // a take is being recorded
    bool m_started = false;   // its first sound has reached the encoder
    bool m_finishing = false; // stopped, its file not yet complete
};

// Plays one sound file at a time through QMediaPlayer.
class QtAudioPlayer final : public IAudioPlayer {
    Q_OBJECT
public:
    explicit QtAudioPlayer(QObject *parent = nullptr);
    ~QtAudioPlayer() override;

    bool play(const QString &path) override;
    void pause() override;
    void resume() override;
    void stop() override;
    State state() const override { return m_state; }

private:
    void setState(State state);
    // Built by the first sound played (see QtMicRecorder::Pipeline).
    struct Output {
        QAudioOutput output;
        QMediaPlayer player;
    };
    QMediaPlayer &player();

    std::unique_ptr<Output> m_out;
    State m_state = State::Stopped;
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
