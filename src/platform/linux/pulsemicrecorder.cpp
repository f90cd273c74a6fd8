#include "platform/linux/pulsemicrecorder.h"
#include "platform/linux/besideprogram.h"

#include "core/logging.h"
#include "platform/linux/soundhelperrun.h"

#include <pulse/error.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QThread>
#include <algorithm>
#include <cmath>

namespace platform {

// The encoder of the takes, a run of the sound helper per take; used on
// the encoder thread only.
struct PulseMicRecorder::Encoder {
    QString helper;
    SoundHelperRun run;
    int take = 0;
    QString path;

    bool open()
    {
        if (run.start(helper, {QStringLiteral("encode"), path, QString::number(SampleRate)},
                      SoundHelperRun::Direction::ToHelper))
            return true;
        qCWarning(lcPlatform) << "the AAC encoder cannot be started:" << helper;
        return false;
    }
    bool isOpen() const { return run.isRunning(); }
    // Drops the current file, if any.
    void drop()
    {
        if (!run.isRunning())
            return;
        run.kill();
        QFile::remove(path);
    }
};

QString PulseMicRecorder::builtEncoder()
{
    return SoundHelperRun::builtHelper();
}

PulseMicRecorder::PulseMicRecorder(const QString &server, const QString &source, const QString &encoder,
                                   QObject *parent)
    : IMicRecorder(parent)
    , m_server(server)
    , m_source(source)
    , m_encoderPath(encoder.isEmpty() ? builtEncoder() : encoder)
{
    m_noSound.setSingleShot(true);
    m_noSound.setInterval(NoSoundLimitMs);
    connect(&m_noSound, &QTimer::timeout, this, [this] {
        if ((m_phase == Phase::Connecting || m_phase == Phase::Recording) && m_received == 0) {
            qCWarning(lcPlatform) << "the microphone gave no sound";
            failTake();
        }
    });
    m_stopWait.setSingleShot(true);
    m_stopWait.setInterval(StopWaitMs);
    connect(&m_stopWait, &QTimer::timeout, this, [this] {
        if (m_phase == Phase::Draining)
            complete();
    });
}

PulseMicRecorder::~PulseMicRecorder()
{
    closeStream(true);
    // A take under way keeps what it holds.
    if (m_phase == Phase::Recording || m_phase == Phase::Draining) {
        if (m_phase == Phase::Recording)
            m_stopAt = dueSamples();
        m_phase = Phase::Draining;
        complete();
    } else if (m_phase == Phase::Connecting) {
        failTake();
    }
    if (!m_thread)
        return;
    // What the encoder still has to do runs first.
    QMetaObject::invokeMethod(m_worker, [worker = m_worker] {
        delete worker;
        QThread::currentThread()->quit();
    });
    m_thread->wait(10000);
    delete m_thread;
}

void PulseMicRecorder::requestPermission(std::function<void(bool)> done)
{
    // Linux has no microphone permission; answer as a later turn of the loop
    // would on a system that asks.
    QTimer::singleShot(0, this, [done = std::move(done)] { done(true); });
}

void PulseMicRecorder::ensureEncoderThread()
{
    if (m_thread)
        return;
    m_encoder = std::make_shared<Encoder>();
    m_encoder->helper = m_encoderPath;
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("recording"));
    m_worker = new QObject;
    m_worker->moveToThread(m_thread);
    m_thread->start();
}

bool PulseMicRecorder::start(const QString &path)
{
    if (m_phase == Phase::Connecting || m_phase == Phase::Recording || m_phase == Phase::Draining)
        return false;
    if (!QFile::exists(m_encoderPath)) {
        qCWarning(lcPlatform) << "no AAC encoder at" << m_encoderPath;
        return false;
    }
    const int take = ++m_take;
    m_phase = Phase::Connecting;
    m_pending.clear();
    m_carry.clear();
    m_received = m_forwarded = m_stopAt = 0;
    m_lastDb = -160;

    // The encoder loads and opens its file while the server opens the stream.
    ensureEncoderThread();
    QPointer<PulseMicRecorder> self(this);
    QMetaObject::invokeMethod(m_worker, [encoder = m_encoder, take, path, self] {
        encoder->drop();
        encoder->take = take;
        encoder->path = path;
        if (!encoder->open())
            QMetaObject::invokeMethod(self, [self, take] {
                if (self)
                    self->onEncoderBroke(take);
            });
    });

    m_context = pa_context_new(m_loop.api(), "Pavlet");
    const QByteArray server = m_server.toUtf8();
    if (!m_context
        || (pa_context_set_state_callback(m_context, contextStateCallback, this),
            pa_context_connect(m_context, server.isEmpty() ? nullptr : server.constData(), PA_CONTEXT_NOAUTOSPAWN,
                               nullptr)
                < 0)) {
        qCWarning(lcPlatform) << "no sound server for the microphone";
        failTake();
        return true;
    }
    m_noSound.start();
    return true;
}

// libpulse keeps calling a failed stream's callbacks while it is let go:
// only the current context and stream are heard.
void PulseMicRecorder::contextStateCallback(pa_context *context, void *self)
{
    auto *recorder = static_cast<PulseMicRecorder *>(self);
    if (context == recorder->m_context)
        recorder->onContextState();
}

void PulseMicRecorder::streamStateCallback(pa_stream *stream, void *self)
{
    auto *recorder = static_cast<PulseMicRecorder *>(self);
    if (stream == recorder->m_stream)
        recorder->onStreamState();
}

void PulseMicRecorder::readCallback(pa_stream *stream, size_t, void *self)
{
    auto *recorder = static_cast<PulseMicRecorder *>(self);
    if (stream == recorder->m_stream)
        recorder->onReadable();
}

void PulseMicRecorder::suspendedCallback(pa_stream *stream, void *self)
{
    auto *recorder = static_cast<PulseMicRecorder *>(self);
    if (stream == recorder->m_stream)
        recorder->onSuspended();
}

void PulseMicRecorder::onContextState()
{
    switch (pa_context_get_state(m_context)) {
    case PA_CONTEXT_READY: openStream(); return;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        qCWarning(lcPlatform) << "the sound server went away:" << pa_strerror(pa_context_errno(m_context));
        inputGone();
        return;
    default: return;
    }
}

void PulseMicRecorder::openStream()
{
    const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, SampleRate, 1};
    m_stream = pa_stream_new(m_context, "Recording", &sampleFormat, nullptr);
    if (!m_stream) {
        failTake();
        return;
    }
    pa_stream_set_state_callback(m_stream, streamStateCallback, this);
    pa_stream_set_read_callback(m_stream, readCallback, this);
    pa_stream_set_suspended_callback(m_stream, suspendedCallback, this);
    // Without a block size of its own a stream gets the server's largest
    // (up to two seconds): the take would begin late and lose its end.
    pa_buffer_attr attr;
    attr.maxlength = uint32_t(-1);
    attr.tlength = attr.prebuf = attr.minreq = uint32_t(-1);
    attr.fragsize = uint32_t(SampleRate * 2 * BlockMs / 1000);
    const QByteArray source = m_source.toUtf8();
    // A take stays with its input: one that goes away (unplugged) ends the
    // take rather than going on from whatever the server moves it to.
    if (pa_stream_connect_record(m_stream, source.isEmpty() ? nullptr : source.constData(), &attr,
                                 pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE))
        < 0)
        failTake();
}

void PulseMicRecorder::onStreamState()
{
    switch (pa_stream_get_state(m_stream)) {
    case PA_STREAM_READY:
        if (m_phase != Phase::Connecting)
            return;
        // The server captures for the take from now on.
        m_since.start();
        m_phase = Phase::Recording;
        reportLater(&PulseMicRecorder::recordingStarted);
        return;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        qCWarning(lcPlatform) << "the microphone went away:" << pa_strerror(pa_context_errno(m_context));
        inputGone();
        return;
    default: return;
    }
}

void PulseMicRecorder::onSuspended()
{
    // A suspended input gives nothing until it wakes, which may be never:
    // the take ends with what came before.
    if (pa_stream_is_suspended(m_stream) != 1 || (m_phase != Phase::Recording && m_phase != Phase::Draining))
        return;
    qCWarning(lcPlatform) << "the microphone was suspended";
    onReadable();
    if (m_phase == Phase::Recording || m_phase == Phase::Draining)
        inputGone();
}

void PulseMicRecorder::onReadable()
{
    while (m_stream && pa_stream_readable_size(m_stream) > 0) {
        const void *data = nullptr;
        size_t bytes = 0;
        if (pa_stream_peek(m_stream, &data, &bytes) < 0 || bytes == 0)
            break;
        // A hole in the server's buffer is silence.
        QByteArray block = m_carry
            + (data ? QByteArray(static_cast<const char *>(data), qsizetype(bytes)) : QByteArray(qsizetype(bytes), 0));
        pa_stream_drop(m_stream);
        const qsizetype count = block.size() / qsizetype(sizeof(qint16));
        m_carry = block.mid(count * qsizetype(sizeof(qint16)));
        block.truncate(count * qsizetype(sizeof(qint16)));
        if (count == 0 || (m_phase != Phase::Recording && m_phase != Phase::Draining))
            continue;
        m_lastDb = powerDb(reinterpret_cast<const qint16 *>(block.constData()), count);
        m_received += count;
        m_pending += block;
    }
    if (m_phase == Phase::Recording || m_phase == Phase::Draining)
        forward();
}

qint64 PulseMicRecorder::dueSamples() const
{
    if (!m_since.isValid())
        return 0;
    return m_since.nsecsElapsed() * SampleRate / 1000000000;
}

void PulseMicRecorder::forward()
{
    // While recording, sound handed out ahead of its time waits here, so that
    // Stop can still drop it.
    pass(m_phase == Phase::Draining ? m_stopAt : dueSamples() + SampleRate / 5);
    if (m_phase == Phase::Draining && m_forwarded >= m_stopAt)
        complete();
}

void PulseMicRecorder::pass(qint64 limit)
{
    const qint64 count = std::clamp<qint64>(limit - m_forwarded, 0, m_pending.size() / qsizetype(sizeof(qint16)));
    if (count <= 0)
        return;
    const qsizetype bytes = qsizetype(count) * qsizetype(sizeof(qint16));
    QByteArray samples = m_pending.left(bytes);
    m_pending.remove(0, bytes);
    m_forwarded += count;
    QMetaObject::invokeMethod(m_worker, [encoder = m_encoder, take = m_take, samples,
                                         self = QPointer<PulseMicRecorder>(this)] {
        if (encoder->take != take || !encoder->isOpen())
            return;
        if (!encoder->run.write(samples.constData(), samples.size())) {
            qCWarning(lcPlatform) << "the recording could not be written";
            encoder->drop();
            QMetaObject::invokeMethod(self, [self, take] {
                if (self)
                    self->onEncoderBroke(take);
            });
        }
    });
}

void PulseMicRecorder::stop()
{
    switch (m_phase) {
    case Phase::Connecting:
        // Called off before the server began: there is no take.
        failTake();
        return;
    case Phase::Recording:
        m_stopAt = dueSamples();
        m_phase = Phase::Draining;
        m_stopWait.start();
        forward();
        return;
    case Phase::Idle:
    case Phase::Draining:
    case Phase::Finishing: return;
    }
}

void PulseMicRecorder::inputGone()
{
    switch (m_phase) {
    case Phase::Connecting: failTake(); return;
    case Phase::Recording:
        // What was recorded up to the loss is kept.
        closeStream();
        m_stopAt = std::min(m_received, dueSamples());
        m_phase = Phase::Draining;
        reportLater(&PulseMicRecorder::inputLost);
        complete();
        return;
    case Phase::Draining:
        closeStream();
        complete();
        return;
    case Phase::Idle:
    case Phase::Finishing: closeStream(); return;
    }
}

void PulseMicRecorder::complete()
{
    if (m_phase != Phase::Draining)
        return;
    m_stopWait.stop();
    m_noSound.stop();
    closeStream();
    // What came by the stop, or by the end of the wait for it.
    pass(m_stopAt);
    m_pending.clear();
    if (m_forwarded == 0) {
        // The input gave no sound before the stop.
        failTake();
        return;
    }
    m_phase = Phase::Finishing;
    const int take = m_take;
    QMetaObject::invokeMethod(m_worker, [encoder = m_encoder, take, self = QPointer<PulseMicRecorder>(this)] {
        if (encoder->take != take || !encoder->isOpen())
            return; // it broke, and said so
        const bool ok = encoder->run.finish();
        if (!ok) {
            qCWarning(lcPlatform) << "the recording's file could not be completed";
            QFile::remove(encoder->path);
        }
        QMetaObject::invokeMethod(self, [self, take, ok] {
            if (self)
                self->onEncoderDone(take, ok);
        });
    });
}

void PulseMicRecorder::onEncoderDone(int take, bool ok)
{
    if (take != m_take || m_phase != Phase::Finishing)
        return;
    m_phase = Phase::Idle;
    reportLater(ok ? &PulseMicRecorder::finished : &PulseMicRecorder::failed);
}

void PulseMicRecorder::onEncoderBroke(int take)
{
    if (take != m_take || m_phase == Phase::Idle)
        return;
    failTake();
}

void PulseMicRecorder::failTake()
{
    m_phase = Phase::Idle;
    m_noSound.stop();
    m_stopWait.stop();
    closeStream();
    m_pending.clear();
    // Reported once its file is gone.
    QMetaObject::invokeMethod(m_worker, [encoder = m_encoder, take = m_take, self = QPointer<PulseMicRecorder>(this)] {
        if (encoder->take == take)
            encoder->drop();
        QMetaObject::invokeMethod(self, [self, take] {
            if (self && take == self->m_take)
                self->reportLater(&PulseMicRecorder::failed);
        });
    });
}

void PulseMicRecorder::closeStream(bool now)
{
    releasePulse(std::exchange(m_stream, nullptr), std::exchange(m_context, nullptr), this, now);
}

void PulseMicRecorder::reportLater(void (PulseMicRecorder::*signal)())
{
    const int take = m_take;
    QTimer::singleShot(0, this, [this, take, signal] {
        if (take == m_take)
            emit(this->*signal)();
    });
}

double PulseMicRecorder::currentTime() const
{
    // The sound that came, but no more than its time: some inputs hand it
    // out ahead of time.
    return m_phase == Phase::Recording ? double(std::min(m_received, dueSamples())) / SampleRate : 0;
}

double PulseMicRecorder::averagePowerDb()
{
    return m_phase == Phase::Recording ? m_lastDb : -160;
}

double PulseMicRecorder::powerDb(const qint16 *samples, qsizetype count)
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

} // namespace platform
