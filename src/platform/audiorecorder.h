#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace platform {

// Records the microphone (the sound server's default input, whatever its
// kind) into a compressed audio file (AAC in MPEG-4, mono, 44.1 kHz).
class IMicRecorder : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Asks whether recording is allowed; done runs later on the main thread.
    virtual void requestPermission(std::function<void(bool granted)> done) = 0;
    // Starts a take into path; false when no recorder could be opened (no
    // microphone, no encoder). The take begins once recordingStarted()
    // arrives (opening the input and the encoder takes a while); a failure
    // found later arrives as failed().
    virtual bool start(const QString &path) = 0;
    // Ends the take (or calls off one that has not begun); finished()
    // follows once its file is complete and the input is closed. The take
    // holds the input's sound up to this call.
    virtual void stop() = 0;
    // The input's average power over the last moments, in dBFS (-160 for
    // silence or when not recording).
    virtual double averagePowerDb() = 0;
    // Seconds of the input's sound the current take holds: it grows with a
    // silent input too, and stands still while the input gives nothing (a
    // stalled stream).
    virtual double currentTime() const = 0;

signals:
    // Sound from the input reaches the take's file from now on.
    void recordingStarted();
    // The take broke off.
    void failed();
    // The input went away or stopped giving sound during the take (the
    // sound server ended, the device was unplugged or suspended): the take
    // ends by itself, and finished() follows with what was recorded up to
    // the last sound (failed() when that was nothing).
    void inputLost();
    // The file of a stopped take is complete.
    void finished();
};

// Plays one audio file at a time.
class IAudioPlayer : public QObject {
    Q_OBJECT
public:
    enum class State { Stopped, Playing, Paused };
    Q_ENUM(State)

    using QObject::QObject;

    // Plays path from its start; false when the file cannot be opened. An
    // earlier playback is replaced. A failure found later (no sound server,
    // a file that cannot be decoded, the server gone during the sound)
    // arrives as failed(), with the state Stopped.
    virtual bool play(const QString &path) = 0;
    virtual void pause() = 0;
    // Goes on from where pause() stopped.
    virtual void resume() = 0;
    virtual void stop() = 0;
    // Stopped also once the file has played to its end.
    virtual State state() const = 0;

signals:
    void stateChanged(platform::IAudioPlayer::State state);
    // The sound that play() began could not be played to its end.
    void failed();
};

// The desktop's alert sounds.
class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // The system bell.
    virtual void beep() = 0;
    // Plays the desktop's alert sound; false when it could not be loaded.
    virtual bool playAlert() = 0;
};

} // namespace platform
