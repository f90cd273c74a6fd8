#include "services/networkstatus.h"

NetworkStatus::NetworkStatus(platform::INetworkInterfaces *interfaces, platform::IWifiInfo *wifi,
                             platform::IReachability *reachability)
    : m_interfaces(interfaces)
    , m_wifi(wifi)
    , m_reachability(reachability)
{
}

NetworkStatus::~NetworkStatus() = default;

bool NetworkStatus::isPreferredInterface(const QString &name)
{
    // "en*" covers systemd's predictable names (enp3s0, eno1, ens33) and
    // macOS-style ones; eth* and wl* the classic wired and wireless names.
    return name.startsWith(QLatin1String("en")) || name.startsWith(QLatin1String("eth"))
        || name.startsWith(QLatin1String("wl"));
}

std::optional<QString> NetworkStatus::reachabilityName()
{
    if (m_reachability->isReachable())
        return QStringLiteral("Network");
    return std::nullopt;
}

std::optional<QString> NetworkStatus::primaryIPv4Address()
{
    std::optional<QString> first;
    for (const platform::InterfaceAddress &entry : m_interfaces->addresses()) {
        if (!entry.isIPv4 || entry.isLoopback || entry.address.isEmpty())
            continue;
        if (isPreferredInterface(entry.interfaceName))
            return entry.address;
        if (!first)
            first = entry.address;
    }
    return first;
}

NetworkSnapshot NetworkStatus::snapshot()
{
    NetworkSnapshot snap;
    if (auto ssid = m_wifi->ssid(); ssid && !ssid->isEmpty())
        snap.name = *ssid;
    else
        snap.name = reachabilityName().value_or(QStringLiteral("Offline"));
    const auto ip = primaryIPv4Address();
    snap.ip = ip.value_or(QStringLiteral("—"));
    snap.online = ip.has_value();
    return snap;
}
