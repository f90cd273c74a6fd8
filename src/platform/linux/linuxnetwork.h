#pragma once

#include "platform/network.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>

namespace platform {

// Interface addresses through getifaddrs.
class IfaddrsNetworkInterfaces final : public INetworkInterfaces {
public:
    QList<InterfaceAddress> addresses() override;
};

// The Wi-Fi network's name from NetworkManager. Reads go over D-Bus in the
// background; ssid() answers from the last reading and starts a new one
// when the last is older than the refresh interval.
class NetworkManagerWifi final : public QObject, public IWifiInfo {
    Q_OBJECT
public:
    explicit NetworkManagerWifi(const QDBusConnection &bus = QDBusConnection::systemBus(), int refreshMs = 5000,
                                QObject *parent = nullptr);
    std::optional<QString> ssid() override;
    // Starts a reading now, unless one is under way.
    void refresh();

signals:
    void ssidChanged();

private:
    void readActiveConnections(const QList<QString> &paths, int index, quint64 generation);
    void readAccessPoint(const QString &path, quint64 generation);
    void finish(std::optional<QString> ssid, quint64 generation);

    QDBusConnection m_bus;
    int m_refreshMs;
    QElapsedTimer m_sinceRefresh;
    bool m_inFlight = false;
    quint64 m_generation = 0;
    std::optional<QString> m_ssid;
};

// Reachability from QNetworkInformation: the default backend, else the GLib
// one, else the network counts as reachable. The backend is loaded on the
// first question, not while the program starts.
class QtReachability final : public IReachability {
public:
    bool isReachable() override;

private:
    bool load();
    bool m_tried = false;
    bool m_loaded = false;
};

} // namespace platform
