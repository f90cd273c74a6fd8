#pragma once

#include "platform/network.h"

class FakeNetworkInterfaces final : public platform::INetworkInterfaces {
public:
    QList<platform::InterfaceAddress> list;
    QList<platform::InterfaceAddress> addresses() override { return list; }

    void addIPv4(const QString &name, const QString &address, bool loopback = false)
    {
        list.append({name, true, loopback, address});
    }
};

class FakeWifiInfo final : public platform::IWifiInfo {
public:
    std::optional<QString> name;
    std::optional<QString> ssid() override { return name; }
};

class FakeReachability final : public platform::IReachability {
public:
    bool reachable = true;
    bool isReachable() override { return reachable; }
};
