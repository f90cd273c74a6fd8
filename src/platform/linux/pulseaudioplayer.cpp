#include "platform/linux/pulseaudioplayer.h"

#include "core/logging.h"
#include "platform/linux/soundhelperrun.h"

#include <pulse/error.h>
#include <pulse/operation.h>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>

#include <xcb/xcb.h>

namespace platform {

// The run of the sound helper that decodes the current file; used on the
// worker thread only.
struct PulseAudioPlayer::Decoding {
    QString helper;
    SoundHelperRun run;
    int sound = 0;
    int channels = 0;

    // The file's sample rate, 0 when it cannot be read.
    int open(const QString &path)
    {
        run.kill();
        if (!run.start(helper, {QStringLiteral("decode"), path}, SoundHelperRun::Direction::FromHelper)) {
            qCWarning(lcPlatform) << "the sound decoder cannot be started:" << helper;
            return 0;
        }
        qint32 format[2] = {0, 0};
        if (run.read(format, sizeof format) != qint64(sizeof format) || format[0] <= 0 || format[1] < 1
            || format[1] > 2) {
            run.kill();
            return 0;
        }
        channels = format[1];
        return format[0];
    }
};

QString PulseAudioPlayer::builtDecoder()
{
    return SoundHelperRun::builtHelper();
}

PulseAudioPlayer::PulseAudioPlayer(const QString &server, const QString &decoder, QObject *parent)
    : IAudioPlayer(parent)
    , m_server(server)
    , m_decoding(std::make_shared<Decoding>())
{
    m_decoding->helper = decoder.isEmpty() ? builtDecoder() : decoder;
    m_pool.setMaxThreadCount(1);
    m_pool.setObjectName(QStringLiteral("playback"));
    m_startLimit.setSingleShot(true);
    m_startLimit.setInterval(StartLimitMs);
    connect(&m_startLimit, &QTimer::timeout, this, [this] {
        qCWarning(lcPlatform) << "the sound server did not take the sound";
        finish(false);
    });
    m_stallLimit.setSingleShot(true);
    m_stallLimit.setInterval(StallLimitMs);
    connect(&m_stallLimit, &QTimer::timeout, this, [this] {
        qCWarning(lcPlatform) << "playback: the sound stopped arriving";
        finish(false);
    });
}

PulseAudioPlayer::~PulseAudioPlayer()
{
    closeStream(true);
    closeDecoder();
    m_pool.waitForDone();
}

bool PulseAudioPlayer::play(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable() || info.size() == 0)
        return false;
    if (!QFile::exists(m_decoding->helper)) {
        qCWarning(lcPlatform) << "no sound decoder at" << m_decoding->helper;
        return false;
    }
    m_stallLimit.stop();
    closeStream();
    closeDecoder();
    m_path = path;
    const int sound = ++m_sound;
    m_rate = m_channels = 0;
    m_buffer.clear();
    m_asking = m_atEnd = m_draining = false;

    // The decoder loads and opens the file while the server opens the stream.
    QPointer<PulseAudioPlayer> self(this);
    m_pool.start([decoding = m_decoding, sound, file = info.absoluteFilePath(), self] {
        decoding->sound = sound;
        const int rate = decoding->open(file);
        const int channels = decoding->channels;
        QMetaObject::invokeMethod(self, [self, sound, rate, channels] {
            if (self)
                self->onOpened(sound, rate, channels);
        });
    });

    m_context = pa_context_new(m_loop.api(), "Pavlet");
    const QByteArray server = m_server.toUtf8();
    if (!m_context) {
        closeDecoder();
        setState(State::Stopped);
        return false;
    }
    pa_context_set_state_callback(m_context, contextStateCallback, this);
    // A server that is not there at all fails at once: play() says so.
    m_connecting = true;
    const bool connected = pa_context_connect(m_context, server.isEmpty() ? nullptr : server.constData(),
                                              PA_CONTEXT_NOAUTOSPAWN, nullptr)
            >= 0
        && PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context));
    m_connecting = false;
    if (!connected) {
        qCWarning(lcPlatform) << "no sound server to play on";
        closeStream();
        closeDecoder();
        setState(State::Stopped);
        return false;
    }
    m_startLimit.start();
    // Reported as playing at once, so that a check right after the press
    // does not take a sound that is still loading for a finished one.
    setState(State::Playing);
    return true;
}

// libpulse keeps calling a failed stream's callbacks while it is let go:
// only the current context and stream are heard.
void PulseAudioPlayer::contextStateCallback(pa_context *context, void *self)
{
    auto *player = static_cast<PulseAudioPlayer *>(self);
    if (context == player->m_context)
        player->onContextState();
}

void PulseAudioPlayer::streamStateCallback(pa_stream *stream, void *self)
{
    auto *player = static_cast<PulseAudioPlayer *>(self);
    if (stream == player->m_stream)
        player->onStreamState();
}

void PulseAudioPlayer::writeCallback(pa_stream *stream, size_t, void *self)
{
    auto *player = static_cast<PulseAudioPlayer *>(self);
    if (stream == player->m_stream)
        player->feed();
}

void PulseAudioPlayer::drainCallback(pa_stream *stream, int success, void *self)
{
    auto *player = static_cast<PulseAudioPlayer *>(self);
    if (stream == player->m_stream && player->m_draining)
        player->finish(success != 0);
}

void PulseAudioPlayer::onContextState()
{
    switch (pa_context_get_state(m_context)) {
    case PA_CONTEXT_READY:
        if (m_rate > 0 && !m_stream)
            openStream();
        return;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        if (m_connecting)
            return; // play() says so

        qCWarning(lcPlatform) << "playback: the sound server went away:" << pa_strerror(pa_context_errno(m_context));
        finish(false);
        return;
    default: return;
    }
}

void PulseAudioPlayer::onOpened(int sound, int rate, int channels)
{
    if (sound != m_sound || m_state == State::Stopped)
        return;
    if (rate <= 0) {
        qCWarning(lcPlatform) << "playback: the file cannot be read";
        finish(false);
        return;
    }
    m_rate = rate;
    m_channels = channels;
    askForMore();
    if (m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY && !m_stream)
        openStream();
}

void PulseAudioPlayer::openStream()
{
    const pa_sample_spec format{PA_SAMPLE_S16LE, uint32_t(m_rate), uint8_t(m_channels)};
    m_stream = pa_stream_new(m_context, "Playback", &format, nullptr);
    if (!m_stream) {
        finish(false);
        return;
    }
    pa_stream_set_state_callback(m_stream, streamStateCallback, this);
    pa_stream_set_write_callback(m_stream, writeCallback, this);
    // A quarter of a second ahead in the server: pause and stop are heard
    // at once, and the decoder keeps well ahead of that.
    pa_buffer_attr attr;
    attr.maxlength = attr.prebuf = attr.minreq = attr.fragsize = uint32_t(-1);
    attr.tlength = uint32_t(m_rate * m_channels * 2 / 4);
    auto flags = PA_STREAM_ADJUST_LATENCY;
    if (m_state == State::Paused)
        flags = pa_stream_flags_t(flags | PA_STREAM_START_CORKED);
    if (pa_stream_connect_playback(m_stream, nullptr, &attr, flags, nullptr, nullptr) < 0)
        finish(false);
}

void PulseAudioPlayer::onStreamState()
{
    switch (pa_stream_get_state(m_stream)) {
    case PA_STREAM_READY:
        m_startLimit.stop();
        // Paused or resumed while the stream was being opened.
        cork(m_state == State::Paused);
        watchStall();
        feed();
        return;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        qCWarning(lcPlatform) << "playback: the stream broke off:" << pa_strerror(pa_context_errno(m_context));
        finish(false);
        return;
    default: return;
    }
}

void PulseAudioPlayer::feed()
{
    if (!m_stream || pa_stream_get_state(m_stream) != PA_STREAM_READY)
        return;
    const qsizetype frame = qsizetype(m_channels) * 2;
    const qsizetype room = qsizetype(pa_stream_writable_size(m_stream));
    const qsizetype bytes = std::min(room, m_buffer.size()) / frame * frame;
    if (bytes > 0) {
        if (pa_stream_write(m_stream, m_buffer.constData(), size_t(bytes), nullptr, 0, PA_SEEK_RELATIVE) < 0) {
            finish(false);
            return;
        }
        m_buffer.remove(0, bytes);
        watchStall();
    }
    askForMore();
    if (m_atEnd && m_buffer.size() < frame && !m_draining) {
        // The whole sound is in the server: done once it has played it.
        m_draining = true;
        pa_operation *op = pa_stream_drain(m_stream, drainCallback, this);
        if (!op) {
            finish(false);
            return;
        }
        pa_operation_unref(op);
    }
}

void PulseAudioPlayer::askForMore()
{
    if (m_asking || m_atEnd || m_rate <= 0)
        return;
    const qsizetype ahead = qsizetype(m_rate) * m_channels * 2 * AheadMs / 1000;
    if (m_buffer.size() >= ahead)
        return;
    m_asking = true;
    const qint64 frames = m_rate / 4;
    const int channels = m_channels;
    QPointer<PulseAudioPlayer> self(this);
    m_pool.start([decoding = m_decoding, sound = m_sound, frames, channels, self] {
        if (decoding->sound != sound || !decoding->run.isRunning())
            return; // a later sound replaced it
        QByteArray samples(qsizetype(frames * channels * 2), Qt::Uninitialized);
        const qint64 got = decoding->run.read(samples.data(), samples.size());
        samples.truncate(std::max<qint64>(got, 0) / (channels * 2) * (channels * 2));
        // A short read is the end of the file; the helper tells whether it
        // read the file to its end.
        const bool atEnd = got < qint64(frames * channels * 2);
        const bool broken = got < 0 || (atEnd && !decoding->run.finish());
        QMetaObject::invokeMethod(self, [self, sound, samples, atEnd, broken] {
            if (self)
                self->onDecoded(sound, samples, atEnd, broken);
        });
    });
}

void PulseAudioPlayer::onDecoded(int sound, const QByteArray &samples, bool atEnd, bool broken)
{
    if (sound != m_sound || m_state == State::Stopped)
        return;
    m_asking = false;
    if (broken) {
        // The decoder went away or could not read on: the sound stops here,
        // before the end of the file.
        qCWarning(lcPlatform) << "playback: the decoder broke off";
        finish(false);
        return;
    }
    m_buffer += samples;
    m_atEnd = atEnd;
    feed();
}

void PulseAudioPlayer::finish(bool ok)
{
    m_startLimit.stop();
    m_stallLimit.stop();
    closeStream();
    closeDecoder();
    const int sound = ++m_sound;
    m_buffer.clear();
    if (ok) {
        setState(State::Stopped);
        return;
    }
    // Said after the call that found it has returned, unless a new sound
    // began meanwhile; the state and the failure arrive together, so that
    // nobody takes the sound for one that played to its end.
    QTimer::singleShot(0, this, [this, sound] {
        if (sound != m_sound)
            return;
        setState(State::Stopped);
        emit failed();
    });
}

void PulseAudioPlayer::closeDecoder()
{
    // At once as well: the worker may be waiting on a decoder that stopped.
    m_decoding->run.interrupt();
    m_pool.start([decoding = m_decoding] { decoding->run.kill(); });
}

void PulseAudioPlayer::closeStream(bool now)
{
    m_draining = false;
    releasePulse(std::exchange(m_stream, nullptr), std::exchange(m_context, nullptr), this, now);
}

void PulseAudioPlayer::pause()
{
    if (m_state != State::Playing)
        return;
    cork(true);
    m_stallLimit.stop();
    setState(State::Paused);
}

void PulseAudioPlayer::resume()
{
    // A sound that has just played to its end plays again from its start,
    // as a press on its play button a moment after the end means.
    if (m_state == State::Stopped && !m_path.isEmpty()) {
        play(m_path);
        return;
    }
    if (m_state != State::Paused)
        return;
    cork(false);
    setState(State::Playing);
    watchStall();
}

void PulseAudioPlayer::cork(bool paused)
{
    if (!m_stream || pa_stream_get_state(m_stream) != PA_STREAM_READY)
        return; // a stream still being opened is corked once it is
    if (pa_operation *op = pa_stream_cork(m_stream, paused ? 1 : 0, nullptr, nullptr))
        pa_operation_unref(op);
}

void PulseAudioPlayer::watchStall()
{
    if (m_state == State::Playing && m_stream && pa_stream_get_state(m_stream) == PA_STREAM_READY)
        m_stallLimit.start();
}

void PulseAudioPlayer::stop()
{
    m_path.clear();
    m_startLimit.stop();
    m_stallLimit.stop();
    if (m_state != State::Stopped) {
        closeStream();
        closeDecoder();
        ++m_sound;
        m_buffer.clear();
    }
    setState(State::Stopped);
}

void PulseAudioPlayer::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

DesktopSoundPlayer::DesktopSoundPlayer(const QString &alertFile, QObject *parent)
    : QObject(parent)
    , m_alertFile(alertFile)
{
}

DesktopSoundPlayer::~DesktopSoundPlayer() = default;

void DesktopSoundPlayer::beep()
{
    // The X server's bell, which the desktop may turn into its alert sound.
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    xcb_bell(x11->connection(), 0);
    xcb_flush(x11->connection());
}

bool DesktopSoundPlayer::playAlert()
{
    return m_player.play(m_alertFile);
}

} // namespace platform
