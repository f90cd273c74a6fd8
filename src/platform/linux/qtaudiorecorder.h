#pragma once

#include "audiorecorder.h"

#include <QAudioInput>
#include <QMediaCaptureSession>
#include <QMediaPlayer>
#include <QMediaRecorder>
#include <QAudioOutput>
#include <memory>

class QAudioSource;
class QIODevice;

// Voice recording with QtMultimedia: AAC in an MP4 container, 44100 Hz
// mono, from the default microphone. The level comes from a second reader
// of the same input that measures the RMS of what arrives.
class QtAudioRecorder final : public platform::IAudioRecorder {
    Q_OBJECT
public:
    explicit QtAudioRecorder(QObject *parent = nullptr);
    ~QtAudioRecorder() override;

    void requestAccess() override;
    bool record(const QString &path) override;
    void stop() override;
    double currentTime() const override;
    double averagePower() const override { return m_power; }

    // dB relative to full scale of 16-bit samples; -160 for silence.
    static double rmsDbfs(const qint16 *samples, qsizetype count);

private:
    void readLevel();

    QMediaCaptureSession m_session;
    QAudioInput m_input;
    QMediaRecorder m_recorder;
    std::unique_ptr<QAudioSource> m_levelSource;
    QIODevice *m_levelDevice = nullptr;
    double m_power = -160;
    bool m_active = false;
    bool m_finishing = false; // stopped, the file not yet complete
};

// Playback of one file with QMediaPlayer on the default output.
class QtAudioPlayer final : public platform::IAudioPlayer {
    Q_OBJECT
public:
    explicit QtAudioPlayer(QObject *parent = nullptr);

    bool open(const QString &path) override;
    void play() override;
    void pause() override;
    void stop() override;
    State state() const override { return m_state; }

private:
    void setState(State state);

    QMediaPlayer m_player;
    QAudioOutput m_output;
    State m_state = State::Stopped;
};
