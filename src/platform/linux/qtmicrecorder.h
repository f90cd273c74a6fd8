#pragma once

#include "platform/audiorecorder.h"
#include "platform/linux/aacfilewriter.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QAudioInput>
#include <QAudioOutput>
#include <QElapsedTimer>
#include <QIODevice>
#include <QMediaPlayer>
#include <memory>
#include <optional>
#include <vector>

class QThread;

namespace platform {

// Opens the input on a thread of its own: Qt waits for the sound server's
// answer without a limit (it never comes for an input suspended by hand),
// and the island must not wait with it. Each block of sound goes to the
// recorder as it comes, marked with its take.
class MicCapture final : public QObject {
    Q_OBJECT
public:
    ~MicCapture() override { close(); }

    void open(int take, const QAudioDevice &device, const QAudioFormat &format, qsizetype blockBytes)
    {
        close();
        m_source = std::make_unique<QAudioSource>(device, format);
        // Small blocks, so that the take begins at once and Stop loses
        // nothing. The source hands every block to the sink as it comes,
        // however large (a reading of our own could miss some).
        m_source->setBufferSize(blockBytes);
        m_sink = std::make_unique<Sink>(this, take);
        m_sink->open(QIODevice::WriteOnly);
        m_source->start(m_sink.get());
        if (m_source->error() != QAudio::NoError) {
            close();
            emit broke(take);
        }
    }

    void close()
    {
        if (m_source)
            m_source->stop();
        m_source.reset();
        m_sink.reset();
    }

signals:
    void sound(int take, const QByteArray &bytes);
    void broke(int take);

private:
    class Sink final : public QIODevice {
    public:
        Sink(MicCapture *capture, int take) : m_capture(capture), m_take(take) {}
        bool isSequential() const override { return true; }

    protected:
        qint64 readData(char *, qint64) override { return -1; }
        qint64 writeData(const char *data, qint64 size) override
        {
            emit m_capture->sound(m_take, QByteArray(data, size));
            return size;
        }

    private:
        MicCapture *m_capture;
        int m_take;
    };

    std::unique_ptr<QAudioSource> m_source;
    std::unique_ptr<Sink> m_sink;
};

// Records the microphone through a QAudioSource (one channel, 44.1 kHz)
// and encodes the sound as it comes into an AAC file (AacFileWriter): the
// input opens within moments of start(), and the same sound gives the level.
// An input that gives no sound at all within NoSoundLimitMs fails the take.
// Linux asks no permission; a machine without an input device cannot open
// the mic.
class QtMicRecorder final : public IMicRecorder {
    Q_OBJECT
public:
    // Names the sound server's default input; empty when it is not known.
    using DefaultInput = std::function<QString()>;

    // device: the input to record; else the input defaultInput names, else
    // the first input Qt lists.
    explicit QtMicRecorder(std::optional<QAudioDevice> device = std::nullopt, DefaultInput defaultInput = {},
                           QObject *parent = nullptr);
    ~QtMicRecorder() override;

    void requestPermission(std::function<void(bool)> done) override;
    bool start(const QString &path) override;
    void stop() override;
    double averagePowerDb() override;
    double currentTime() const override;

    // dBFS of the root mean square of 16-bit samples; -160 for silence.
    static double powerDb(const qint16 *samples, qsizetype count);

    static constexpr int SampleRate = 44100;
    // An input that has given no sound at all by then (a quiet room still
    // gives sound) has failed.
    static constexpr int NoSoundLimitMs = 3000;

    // Whether the input is open.
    bool hasPipeline() const { return m_open; }
    // The input the next take would record from.
    QAudioDevice inputDevice() const;

private:
    // Encodes sound the input gave and measures its level.
    void onSound(int take, const QByteArray &bytes);
    void startCapture();
    // Breaks the take off: no file, failed() later.
    void failTake();
    void closeInput();
    // Lets the capture thread go; one still waiting for the server ends on
    // its own whenever the server answers.
    void retireCapture();
    // Reports after the current call has returned, unless a new take began.
    void reportLater(void (QtMicRecorder::*signal)());

    std::optional<QAudioDevice> m_device;
    DefaultInput m_defaultInput;
    QString m_takePath;
    AacFileWriter m_writer;
    QThread *m_thread = nullptr; // ends itself once let go
    MicCapture *m_capture = nullptr; // lives on m_thread
    bool m_open = false;
    QByteArray m_carry; // an odd byte left from the last read
    QElapsedTimer m_since; // since the take's start
    static constexpr qint64 AheadMs = 100;
    int m_take = 0;     // counts takes, so a stale report or limit does nothing
    double m_lastDb = -160;
    bool m_started = false; // its first sound has arrived
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
    // Built by the first sound played.
    struct Output {
        QAudioOutput output;
        QMediaPlayer player;
    };
    QMediaPlayer &player();

    std::unique_ptr<Output> m_out;
    State m_state = State::Stopped;
    bool m_failed = false;
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
