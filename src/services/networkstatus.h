#pragma once

#include "platform/network.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <memory>
#include <optional>

struct NetworkSnapshot {
    Q_GADGET
    QML_VALUE_TYPE(networkSnapshot)
    Q_PROPERTY(QString name MEMBER name)
    Q_PROPERTY(QString ip MEMBER ip)
    Q_PROPERTY(bool online MEMBER online)
public:
    // The Wi-Fi network's name, else "Network" when reachable, else "Offline".
    QString name;
    // The primary IPv4 address, else "—".
    QString ip;
    // Whether any IPv4 address other than loopback exists.
    bool online = false;

    bool operator==(const NetworkSnapshot &) const = default;
};

class NetworkStatus {
public:
    NetworkStatus(platform::INetworkInterfaces *interfaces, platform::IWifiInfo *wifi,
                  platform::IReachability *reachability);
    ~NetworkStatus();

    NetworkSnapshot snapshot();
    // "Network" when some network is reachable.
    std::optional<QString> reachabilityName();
    // The first IPv4 address of a wired or wireless interface, else the first
    // IPv4 address that is not loopback.
    std::optional<QString> primaryIPv4Address();

    // Whether an interface name belongs to a wired or wireless adapter.
    static bool isPreferredInterface(const QString &name);

private:
    platform::INetworkInterfaces *m_interfaces;
    platform::IWifiInfo *m_wifi;
    platform::IReachability *m_reachability;
};
