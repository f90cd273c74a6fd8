#pragma once

#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace platform {

// One address of one network interface.
struct InterfaceAddress {
    QString interfaceName;
    bool isIPv4 = false;
    bool isLoopback = false;
    // Numeric host text ("192.168.1.20").
    QString address;

    bool operator==(const InterfaceAddress &) const = default;
};

class INetworkInterfaces {
public:
    virtual ~INetworkInterfaces() = default;
    // Every interface address in the system's order; empty on failure.
    virtual QList<InterfaceAddress> addresses() = 0;
};

// The name of the Wi-Fi network the machine is joined to.
class IWifiInfo {
public:
    virtual ~IWifiInfo() = default;
    // The network name, or none when there is no Wi-Fi connection or its name
    // cannot be read. Never blocks: a backend that has to ask another process
    // answers from what it last learnt.
    virtual std::optional<QString> ssid() = 0;
};

// Whether the machine has a route to any network.
class IReachability {
public:
    virtual ~IReachability() = default;
    virtual bool isReachable() = 0;
};

} // namespace platform
