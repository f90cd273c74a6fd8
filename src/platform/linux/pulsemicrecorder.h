#pragma once

#include "platform/audiorecorder.h"
#include "platform/linux/pulseqtmainloop.h"

#include <pulse/context.h>
#include <pulse/stream.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QTimer>
#include <memory>

class QThread;

namespace platform {

// Records the sound server's input through a PulseAudio record stream of
// its own (one channel, 44.1 kHz, small blocks) and encodes the sound into
// an AAC file on a thread of its own, through a run of the sound helper
// program per take (FFmpeg's libraries stay out of the island). Linux asks
// no permission.
//
// A take's file holds the time from the moment the server opened the
// stream to the call of stop(), sample for sample as the input gave them:
// stop() waits (up to StopWaitMs) for the sound of its moment, which the
// server hands over a block later, and drops what some virtual inputs hand
// out ahead of time. An input the server suspends during the take (its
// device, or the output it is the monitor of, put to sleep) ends the take
// as a lost one, holding the sound up to the suspension. Nothing waits on
// the main thread.
class PulseMicRecorder final : public IMicRecorder {
    Q_OBJECT
public:
    // server: a PulseAudio server address ("unix:/path"); empty for the
    // user's own. source: the source to record; empty for the server's
    // default source when the take starts, whatever its kind (a monitor of
    // an output too). encoder: the sound helper program; empty for the one built
    // with the program.
    explicit PulseMicRecorder(const QString &server = {}, const QString &source = {},
                              const QString &encoder = {}, QObject *parent = nullptr);
    ~PulseMicRecorder() override;

    void requestPermission(std::function<void(bool)> done) override;
    bool start(const QString &path) override;
    void stop() override;
    double averagePowerDb() override;
    double currentTime() const override;

    // dBFS of the root mean square of 16-bit samples; -160 for silence.
    static double powerDb(const qint16 *samples, qsizetype count);

    static constexpr int SampleRate = 44100;
    // The block size asked of the server: the take begins at once, and
    // Stop's moment arrives moments later.
    static constexpr int BlockMs = 20;
    // An input that has given no sound at all by then (a quiet room still
    // gives sound) has failed.
    static constexpr int NoSoundLimitMs = 3000;
    // How long Stop waits for the sound up to its moment: a sine source of
    // the server hands out two seconds at a time.
    static constexpr int StopWaitMs = 2500;

    // The sound helper program the program was built with.
    static QString builtEncoder();

private:
    enum class Phase {
        Idle,
        Connecting, // the stream is being opened
        Recording,  // the server captures for the take
        Draining,   // stopped; the sound up to the stop is still coming
        Finishing,  // the input is closed; the encoder completes the file
    };
    struct Encoder;

    void onContextState();
    void onStreamState();
    void onReadable();
    void onSuspended();
    void openStream();
    // now: releases libpulse's objects at once, not from the event loop.
    void closeStream(bool now = false);
    // Hands the encoder what is due: the sound up to now while recording,
    // up to the stop afterwards; completes a stopped take that has it all.
    void forward();
    // Hands the encoder what came, up to limit samples in all.
    void pass(qint64 limit);
    qint64 dueSamples() const;
    // Ends the input and completes the file with what was forwarded.
    void complete();
    // Breaks the take off: no file, failed() later.
    void failTake();
    void inputGone();
    void onEncoderDone(int take, bool ok);
    void onEncoderBroke(int take);
    // Reports after the current call has returned, unless a new take began.
    void reportLater(void (PulseMicRecorder::*signal)());
    void ensureEncoderThread();

    static void contextStateCallback(pa_context *context, void *self);
    static void streamStateCallback(pa_stream *stream, void *self);
    static void readCallback(pa_stream *stream, size_t bytes, void *self);
    static void suspendedCallback(pa_stream *stream, void *self);

    QString m_server;
    QString m_source;
    QString m_encoderPath;
    PulseQtMainloop m_loop; // outlives the context and the stream
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;

    QThread *m_thread = nullptr;
    QObject *m_worker = nullptr; // lives on m_thread: the encoder's calls run there
    std::shared_ptr<Encoder> m_encoder;

    Phase m_phase = Phase::Idle;
    int m_take = 0; // counts takes, so that a stale report does nothing
    QElapsedTimer m_since; // since the server opened the stream
    QByteArray m_pending;  // samples not yet handed to the encoder
    QByteArray m_carry;    // an odd byte of the last block
    qint64 m_received = 0; // samples the input gave
    qint64 m_forwarded = 0;
    qint64 m_stopAt = 0; // samples the take holds, once stopped
    double m_lastDb = -160;
    QTimer m_noSound;
    QTimer m_stopWait;
};

} // namespace platform
