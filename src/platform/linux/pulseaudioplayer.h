#pragma once

#include "platform/audiorecorder.h"
#include "platform/linux/pulseqtmainloop.h"

#include <pulse/context.h>
#include <pulse/stream.h>

#include <QByteArray>
#include <QThreadPool>
#include <QTimer>
#include <memory>

namespace platform {

// Plays one sound file at a time through a PulseAudio playback stream of its
// own, on a connection of its own made for each sound, so that a sound
// server that went away and came back is simply met anew by the next sound.
// The file is decoded a moment ahead by a run of the sound helper program,
// read on a worker thread (FFmpeg's libraries stay out of the island).
// Nothing waits on the main thread.
//
// A sound that cannot be played to its end (no sound server, a file the
// decoder cannot read, a decoder that breaks off, a server that goes away
// meanwhile, never begins or stops taking the sound) ends in failed(),
// Stopped.
class PulseAudioPlayer final : public IAudioPlayer {
    Q_OBJECT
public:
    // server: a PulseAudio server address ("unix:/path"); empty for the
    // user's own. decoder: the sound helper program; empty for the one built
    // with the program.
    explicit PulseAudioPlayer(const QString &server = {}, const QString &decoder = {}, QObject *parent = nullptr);
    ~PulseAudioPlayer() override;

    bool play(const QString &path) override;
    void pause() override;
    void resume() override;
    void stop() override;
    State state() const override { return m_state; }

    // The sound helper program the program was built with.
    static QString builtDecoder();

    // A sound the server has not begun to take by then has failed.
    static constexpr int StartLimitMs = 5000;
    // How far the decoder keeps ahead of the stream.
    static constexpr int AheadMs = 1000;
    // A playing sound the server has taken nothing of for this long has
    // stopped: the server is frozen, or the decoder is.
    static constexpr int StallLimitMs = 3000;

private:
    struct Decoding;

    void onContextState();
    void onStreamState();
    void openStream();
    void feed();
    void askForMore();
    void onDecoded(int sound, const QByteArray &samples, bool atEnd, bool broken);
    void onOpened(int sound, int rate, int channels);
    // Ends the sound: failed() too unless ok.
    void finish(bool ok);
    void closeStream(bool now = false);
    void closeDecoder();
    void cork(bool paused);
    // Watches for a stall while the sound plays, from its last write.
    void watchStall();
    void setState(State state);

    static void contextStateCallback(pa_context *context, void *self);
    static void streamStateCallback(pa_stream *stream, void *self);
    static void writeCallback(pa_stream *stream, size_t bytes, void *self);
    static void drainCallback(pa_stream *stream, int success, void *self);

    QString m_server;
    PulseQtMainloop m_loop; // outlives the context and the stream
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    // One worker thread at most, so the decoder's calls run in order; it
    // ends by itself once idle.
    QThreadPool m_pool;
    std::shared_ptr<Decoding> m_decoding;

    State m_state = State::Stopped;
    QString m_path; // of the last sound, until stop()
    int m_sound = 0; // counts sounds, so that a stale report does nothing
    int m_rate = 0;  // of the current sound, once its decoder opened
    int m_channels = 0;
    QByteArray m_buffer; // decoded, not yet written to the stream
    bool m_asking = false; // a request to the decoder is under way
    bool m_atEnd = false;  // the decoder has handed out the whole file
    bool m_draining = false;
    bool m_connecting = false; // within pa_context_connect()
    QTimer m_startLimit;
    QTimer m_stallLimit;
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
    PulseAudioPlayer m_player;
};

} // namespace platform
