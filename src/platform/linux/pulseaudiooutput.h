#pragma once

#include "platform/audiooutput.h"
#include "platform/linux/pulseqtmainloop.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/subscribe.h>
#include <pulse/volume.h>

#include <QFileSystemWatcher>
#include <QTimer>
#include <memory>

namespace platform {

// The default output through PulseAudio (and PipeWire's PulseAudio server):
// the default sink's volume and mute state, kept current by the server's
// change notices, with reconnection when the server goes away and comes back.
// A server that comes back is noticed by its socket appearing; a write while
// the server is away tries to reach it at once.
//
// Everything runs on Qt's event loop; no call waits for the server. Readings
// come from the last state the server reported, and a write reads back at
// once.
class PulseAudioOutput final : public platform::IAudioOutput {
    Q_OBJECT
public:
    // server: a PulseAudio server address ("unix:/path"); empty for the
    // user's default server.
    explicit PulseAudioOutput(const QString &server = QString(), QObject *parent = nullptr);
    ~PulseAudioOutput() override;

    QString defaultDevice() const override { return m_sinkName; }
    std::optional<double> volume() const override;
    std::optional<bool> muted() const override;
    bool setVolume(double value) override;
    bool setMuted(bool muted) override;

    // The server's default input (a source's name); empty until it is known.
    // The server's notices keep it current.
    QString defaultInput() const { return m_sourceName; }

    bool isConnected() const { return m_ready; }
    // Milliseconds before the first new attempt to reach the server; each
    // further failure doubles the wait, up to the longest.
    static constexpr int reconnectMs = 1000;
    static constexpr int reconnectMaxMs = 60000;

signals:
    void connectedChanged();

private:
    void connectToServer();
    // A new attempt now, unless one is under way or the server is reached.
    void reachNow();
    void watchSocket();
    void onSocketFolderChanged();
    void dropContext();
    void scheduleReconnect();
    void noteOutage(const QString &why);
    void onStateChanged();
    void onSubscription(pa_subscription_event_type_t type, uint32_t index);
    void requestServerInfo();
    void onServerInfo(const pa_server_info *info);
    void requestSinkInfo(const QString &name);
    void onSinkInfo(const pa_sink_info *info);
    void clearDevice();

    static void stateCallback(pa_context *c, void *userdata);
    static void subscribeCallback(pa_context *c, pa_subscription_event_type_t t, uint32_t idx, void *userdata);
    static void serverInfoCallback(pa_context *c, const pa_server_info *i, void *userdata);
    static void sinkInfoCallback(pa_context *c, const pa_sink_info *i, int eol, void *userdata);
    static void writeCallback(pa_context *c, int success, void *userdata);

    QString m_server;
    PulseQtMainloop m_loop;
    pa_context *m_context = nullptr;
    bool m_ready = false;
    QTimer m_reconnect;
    // The server's local socket, when it has one, and a watch on its folder.
    QString m_socketPath;
    QFileSystemWatcher m_socketWatch;
    int m_backoffMs = reconnectMs;
    // The server is away and that was said.
    bool m_outage = false;

    // The default sink's name as the server last gave it.
    QString m_defaultName;
    QString m_sourceName;
    // The default sink whose state is kept.
    QString m_sinkName;
    uint32_t m_sinkIndex = PA_INVALID_INDEX;
    pa_cvolume m_cvolume{};
    bool m_muted = false;
};

} // namespace platform
