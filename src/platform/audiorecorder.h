#pragma once

#include <QObject>
#include <QString>

namespace platform {

// Voice recording from the default microphone into an AAC file in an MP4
// container (44100 Hz, mono).
class IAudioRecorder : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Asks whether recording is allowed (a microphone exists); the answer
    // arrives as accessAnswered, never synchronously.
    virtual void requestAccess() = 0;
    // Starts writing to path. False when recording cannot start; a failure
    // found later arrives as failed().
    virtual bool record(const QString &path) = 0;
    virtual void stop() = 0;
    // Seconds recorded so far.
    virtual double currentTime() const = 0;
    // The input's recent average power in dB relative to full scale
    // (-160 for silence).
    virtual double averagePower() const = 0;

signals:
    void accessAnswered(bool granted);
    void failed();
    // The file of a stopped recording is complete.
    void finished();
};

// Playback of one audio file at a time.
class IAudioPlayer : public QObject {
    Q_OBJECT
public:
    enum class State { Stopped, Playing, Paused };
    Q_ENUM(State)

    using QObject::QObject;

    // Loads a file. False when it cannot be played.
    virtual bool open(const QString &path) = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    // Stops and unloads; state() becomes Stopped.
    virtual void stop() = 0;
    // Stopped also once the file has played to its end.
    virtual State state() const = 0;

signals:
    void stateChanged(platform::IAudioPlayer::State state);
};

} // namespace platform
