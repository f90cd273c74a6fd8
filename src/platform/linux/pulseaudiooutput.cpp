#include "platform/linux/pulseaudiooutput.h"

#include "core/logging.h"

#include <pulse/error.h>

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace platform {

PulseAudioOutput::PulseAudioOutput(const QString &server, QObject *parent)
    : platform::IAudioOutput(parent)
    , m_server(server)
{
    pa_cvolume_init(&m_cvolume);
    m_reconnect.setSingleShot(true);
    connect(&m_reconnect, &QTimer::timeout, this, &PulseAudioOutput::connectToServer);
    connect(&m_socketWatch, &QFileSystemWatcher::directoryChanged, this, &PulseAudioOutput::onSocketFolderChanged);
    watchSocket();
    connectToServer();
}

PulseAudioOutput::~PulseAudioOutput()
{
    dropContext();
}

std::optional<double> PulseAudioOutput::volume() const
{
    if (m_sinkName.isEmpty())
        return std::nullopt;
    return double(pa_cvolume_max(&m_cvolume)) / double(PA_VOLUME_NORM);
}

std::optional<bool> PulseAudioOutput::muted() const
{
    if (m_sinkName.isEmpty())
        return std::nullopt;
    return m_muted;
}

bool PulseAudioOutput::setVolume(double value)
{
    reachNow();
    if (!m_ready || m_sinkName.isEmpty() || !pa_cvolume_valid(&m_cvolume))
        return false;
    // Bounded before rounding: a huge value would not fit the integer.
    const double highest = double(PA_VOLUME_MAX) / double(PA_VOLUME_NORM);
    const double clamped = std::isfinite(value) ? std::clamp(value, 0.0, highest) : 0.0;
    const auto target = pa_volume_t(std::lround(clamped * PA_VOLUME_NORM));
    // Scaling keeps the balance between the channels.
    pa_cvolume scaled = m_cvolume;
    pa_cvolume_scale(&scaled, std::min<pa_volume_t>(target, PA_VOLUME_MAX));
    m_cvolume = scaled;
    const QByteArray name = m_sinkName.toUtf8();
    if (pa_operation *op = pa_context_set_sink_volume_by_name(m_context, name.constData(), &scaled,
                                                              writeCallback, this))
        pa_operation_unref(op);
    return true;
}

bool PulseAudioOutput::setMuted(bool muted)
{
    reachNow();
    if (!m_ready || m_sinkName.isEmpty())
        return false;
    m_muted = muted;
    const QByteArray name = m_sinkName.toUtf8();
    if (pa_operation *op = pa_context_set_sink_mute_by_name(m_context, name.constData(), muted ? 1 : 0,
                                                            writeCallback, this))
        pa_operation_unref(op);
    return true;
}

// ---- connection ------------------------------------------------------------

void PulseAudioOutput::connectToServer()
{
    dropContext();
    m_context = pa_context_new(m_loop.api(), "Pavlet");
    if (!m_context) {
        scheduleReconnect();
        return;
    }
    pa_context_set_state_callback(m_context, stateCallback, this);
    const QByteArray server = m_server.toUtf8();
    if (pa_context_connect(m_context, server.isEmpty() ? nullptr : server.constData(), PA_CONTEXT_NOAUTOSPAWN,
                           nullptr)
        < 0) {
        noteOutage(QString::fromUtf8(pa_strerror(pa_context_errno(m_context))));
        dropContext();
        scheduleReconnect();
    }
}

void PulseAudioOutput::reachNow()
{
    if (m_ready)
        return;
    if (m_context) {
        const pa_context_state_t state = pa_context_get_state(m_context);
        if (state != PA_CONTEXT_FAILED && state != PA_CONTEXT_TERMINATED)
            return; // an attempt is under way
    }
    m_reconnect.stop();
    m_backoffMs = reconnectMs;
    connectToServer();
}

void PulseAudioOutput::watchSocket()
{
    QString address = m_server;
    if (address.isEmpty())
        address = qEnvironmentVariable("PULSE_SERVER");
    if (address.isEmpty()) {
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (!runtime.isEmpty())
            address = runtime + QStringLiteral("/pulse/native");
    }
    if (address.startsWith(QStringLiteral("unix:")))
        address = address.mid(5);
    // A network address has no socket to watch: the retries alone find it.
    if (!QDir::isAbsolutePath(address))
        return;
    m_socketPath = address;
    onSocketFolderChanged();
}

void PulseAudioOutput::onSocketFolderChanged()
{
    if (m_socketPath.isEmpty())
        return;
    // The socket's folder when it exists, else the one above it, which tells
    // when the folder comes.
    const QString folder = QFileInfo(m_socketPath).absolutePath();
    const QString watched = QFileInfo::exists(folder) ? folder : QFileInfo(folder).absolutePath();
    const QStringList now = m_socketWatch.directories();
    if (now != QStringList{watched}) {
        if (!now.isEmpty())
            m_socketWatch.removePaths(now);
        m_socketWatch.addPath(watched);
    }
    if (!m_ready && QFileInfo::exists(m_socketPath))
        reachNow();
}

void PulseAudioOutput::dropContext()
{
    if (!m_context)
        return;
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_set_subscribe_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    m_context = nullptr;
    if (m_ready) {
        m_ready = false;
        emit connectedChanged();
    }
}

void PulseAudioOutput::noteOutage(const QString &why)
{
    // One line per outage, however often the retries fail meanwhile.
    if (m_outage)
        return;
    m_outage = true;
    qCInfo(lcPlatform) << "No PulseAudio server:" << why << "- trying again now and then";
}

void PulseAudioOutput::scheduleReconnect()
{
    if (m_reconnect.isActive())
        return;
    m_reconnect.start(m_backoffMs);
    m_backoffMs = std::min(m_backoffMs * 2, reconnectMaxMs);
}

void PulseAudioOutput::stateCallback(pa_context *c, void *userdata)
{
    auto *self = static_cast<PulseAudioOutput *>(userdata);
    if (c == self->m_context)
        self->onStateChanged();
}

void PulseAudioOutput::onStateChanged()
{
    switch (pa_context_get_state(m_context)) {
    case PA_CONTEXT_READY: {
        m_ready = true;
        m_backoffMs = reconnectMs;
        if (m_outage) {
            m_outage = false;
            qCInfo(lcPlatform) << "PulseAudio is back";
        }
        pa_context_set_subscribe_callback(m_context, subscribeCallback, this);
        const auto mask = pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SERVER);
        if (pa_operation *op = pa_context_subscribe(m_context, mask, nullptr, nullptr))
            pa_operation_unref(op);
        requestServerInfo();
        emit connectedChanged();
        break;
    }
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        noteOutage(QString::fromUtf8(pa_strerror(pa_context_errno(m_context))));
        // The context may not be released from inside its own callback.
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        clearDevice();
        if (m_ready) {
            m_ready = false;
            emit connectedChanged();
        }
        scheduleReconnect();
        break;
    default:
        break;
    }
}

// ---- server state ------------------------------------------------------------

void PulseAudioOutput::subscribeCallback(pa_context *c, pa_subscription_event_type_t t, uint32_t idx,
                                         void *userdata)
{
    auto *self = static_cast<PulseAudioOutput *>(userdata);
    if (c == self->m_context)
        self->onSubscription(t, idx);
}

void PulseAudioOutput::onSubscription(pa_subscription_event_type_t type, uint32_t index)
{
    const int facility = type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
    const int kind = type & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
    if (facility == PA_SUBSCRIPTION_EVENT_SERVER) {
        requestServerInfo();
    } else if (facility == PA_SUBSCRIPTION_EVENT_SINK && index == m_sinkIndex) {
        if (kind == PA_SUBSCRIPTION_EVENT_REMOVE)
            requestServerInfo();
        else
            requestSinkInfo(m_defaultName);
    }
}

void PulseAudioOutput::requestServerInfo()
{
    if (pa_operation *op = pa_context_get_server_info(m_context, serverInfoCallback, this))
        pa_operation_unref(op);
}

void PulseAudioOutput::serverInfoCallback(pa_context *c, const pa_server_info *i, void *userdata)
{
    auto *self = static_cast<PulseAudioOutput *>(userdata);
    if (c == self->m_context)
        self->onServerInfo(i);
}

void PulseAudioOutput::onServerInfo(const pa_server_info *info)
{
    m_defaultName = info && info->default_sink_name ? QString::fromUtf8(info->default_sink_name) : QString();
    m_sourceName = info && info->default_source_name ? QString::fromUtf8(info->default_source_name) : QString();
    if (m_defaultName.isEmpty()) {
        clearDevice();
        return;
    }
    // Also for the current default: it may have been replaced by a new sink
    // of the same name.
    requestSinkInfo(m_defaultName);
}

void PulseAudioOutput::requestSinkInfo(const QString &name)
{
    const QByteArray n = name.toUtf8();
    if (pa_operation *op = pa_context_get_sink_info_by_name(m_context, n.constData(), sinkInfoCallback, this))
        pa_operation_unref(op);
}

void PulseAudioOutput::sinkInfoCallback(pa_context *c, const pa_sink_info *i, int eol, void *userdata)
{
    auto *self = static_cast<PulseAudioOutput *>(userdata);
    if (c == self->m_context && eol == 0 && i)
        self->onSinkInfo(i);
}

void PulseAudioOutput::onSinkInfo(const pa_sink_info *info)
{
    const QString name = QString::fromUtf8(info->name);
    // Replies to earlier questions may still arrive after the default moved
    // on: only the sink the server last named counts.
    if (name != m_defaultName)
        return;
    if (name != m_sinkName || info->index != m_sinkIndex) {
        m_sinkName = name;
        m_sinkIndex = info->index;
        m_cvolume = info->volume;
        m_muted = info->mute != 0;
        emit defaultDeviceChanged();
        return;
    }
    const bool changed = !pa_cvolume_equal(&m_cvolume, &info->volume) || m_muted != (info->mute != 0);
    m_cvolume = info->volume;
    m_muted = info->mute != 0;
    if (changed)
        emit volumeChanged(m_sinkName);
}

void PulseAudioOutput::clearDevice()
{
    m_defaultName.clear();
    if (m_sinkName.isEmpty())
        return;
    m_sinkName.clear();
    m_sinkIndex = PA_INVALID_INDEX;
    pa_cvolume_init(&m_cvolume);
    m_muted = false;
    emit defaultDeviceChanged();
}

void PulseAudioOutput::writeCallback(pa_context *c, int success, void *userdata)
{
    auto *self = static_cast<PulseAudioOutput *>(userdata);
    // A refused write: read the true state back.
    if (c == self->m_context && !success && !self->m_sinkName.isEmpty())
        self->requestSinkInfo(self->m_sinkName);
}

} // namespace platform
