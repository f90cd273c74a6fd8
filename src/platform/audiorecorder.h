#pragma once

#include <QString>
#include <functional>

namespace platform {

// Records the microphone into a compressed audio file (AAC in MPEG-4).
class IMicRecorder {
public:
    virtual ~IMicRecorder() = default;
    // Asks whether recording is allowed; done runs later on the main thread.
    virtual void requestPermission(std::function<void(bool granted)> done) = 0;
    // Starts a mono 44.1 kHz take into path; false when no recorder could
    // be opened (no microphone, no encoder).
    virtual bool start(const QString &path) = 0;
    virtual void stop() = 0;
    // The input's average power over the last moments, in dBFS (-160 for
    // silence or when not recording).
    virtual double averagePowerDb() = 0;
};

// Plays an audio file once.
class IAudioPlayer {
public:
    virtual ~IAudioPlayer() = default;
    // False when the file cannot be opened; an earlier playback is replaced.
    virtual bool play(const QString &path) = 0;
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
