#include "platform/linux/linuxnetwork.h"

#include "core/logging.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QNetworkInformation>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>

namespace platform {

namespace {

constexpr auto NmService = "org.freedesktop.NetworkManager";
constexpr auto NmPath = "/org/freedesktop/NetworkManager";
constexpr auto NmInterface = "org.freedesktop.NetworkManager";
constexpr auto ActiveInterface = "org.freedesktop.NetworkManager.Connection.Active";
constexpr auto AccessPointInterface = "org.freedesktop.NetworkManager.AccessPoint";
constexpr int CallTimeoutMs = 1000;
constexpr uint ActiveConnectionActivated = 2;

QDBusMessage getProperty(const QString &path, const char *interface, const char *name)
{
    QDBusMessage msg = QDBusMessage::createMethodCall(QLatin1String(NmService), path,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    msg << QString::fromLatin1(interface) << QString::fromLatin1(name);
    return msg;
}

QDBusMessage getAll(const QString &path, const char *interface)
{
    QDBusMessage msg = QDBusMessage::createMethodCall(QLatin1String(NmService), path,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("GetAll"));
    msg << QString::fromLatin1(interface);
    return msg;
}

// The value inside a Properties.Get reply.
QVariant replyValue(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    QVariant v = reply.arguments().constFirst();
    if (v.canConvert<QDBusVariant>())
        v = v.value<QDBusVariant>().variant();
    return v;
}

QList<QString> objectPaths(const QVariant &value)
{
    QList<QString> out;
    if (value.canConvert<QDBusArgument>()) {
        const QDBusArgument arg = value.value<QDBusArgument>();
        QList<QDBusObjectPath> paths;
        arg >> paths;
        for (const auto &p : paths)
            out.append(p.path());
    } else {
        for (const auto &p : value.value<QList<QDBusObjectPath>>())
            out.append(p.path());
    }
    return out;
}

QString objectPath(const QVariant &value)
{
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

} // namespace

QList<InterfaceAddress> IfaddrsNetworkInterfaces::addresses()
{
    QList<InterfaceAddress> out;
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0)
        return out;
    for (ifaddrs *ifa = list; ifa; ifa = ifa->ifa_next) {
        if (!ifa->ifa_addr)
            continue;
        const int family = ifa->ifa_addr->sa_family;
        if (family != AF_INET && family != AF_INET6)
            continue;
        char host[NI_MAXHOST];
        const socklen_t len = family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
        if (getnameinfo(ifa->ifa_addr, len, host, sizeof host, nullptr, 0, NI_NUMERICHOST) != 0)
            continue;
        InterfaceAddress entry;
        entry.interfaceName = QString::fromLocal8Bit(ifa->ifa_name);
        entry.isIPv4 = family == AF_INET;
        entry.isLoopback = (ifa->ifa_flags & IFF_LOOPBACK) != 0;
        entry.address = QString::fromLatin1(host);
        out.append(entry);
    }
    freeifaddrs(list);
    return out;
}

NetworkManagerWifi::NetworkManagerWifi(const QDBusConnection &bus, int refreshMs, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
    , m_refreshMs(refreshMs)
{
}

std::optional<QString> NetworkManagerWifi::ssid()
{
    if (!m_sinceRefresh.isValid() || m_sinceRefresh.elapsed() >= m_refreshMs)
        refresh();
    return m_ssid;
}

void NetworkManagerWifi::refresh()
{
    if (m_inFlight || !m_bus.isConnected())
        return;
    m_inFlight = true;
    m_sinceRefresh.start();
    const quint64 generation = ++m_generation;
    auto *watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(getProperty(QLatin1String(NmPath), NmInterface, "ActiveConnections"), CallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        const QDBusMessage reply = watcher->reply();
        if (reply.type() != QDBusMessage::ReplyMessage) {
            finish(std::nullopt, generation);
            return;
        }
        readActiveConnections(objectPaths(replyValue(reply)), 0, generation);
    });
}

// Walks the active connections in order; the first activated Wi-Fi one
// names the access point.
void NetworkManagerWifi::readActiveConnections(const QList<QString> &paths, int index, quint64 generation)
{
    if (index >= paths.size()) {
        finish(std::nullopt, generation);
        return;
    }
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(getAll(paths[index], ActiveInterface), CallTimeoutMs),
                                                this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, paths, index, generation] {
        watcher->deleteLater();
        QDBusPendingReply<QVariantMap> reply = *watcher;
        if (!reply.isError()) {
            const QVariantMap props = reply.value();
            const QString specific = objectPath(props.value(QStringLiteral("SpecificObject")));
            if (props.value(QStringLiteral("Type")).toString() == QLatin1String("802-11-wireless")
                && props.value(QStringLiteral("State")).toUInt() == ActiveConnectionActivated
                && !specific.isEmpty() && specific != QLatin1String("/")) {
                readAccessPoint(specific, generation);
                return;
            }
        }
        readActiveConnections(paths, index + 1, generation);
    });
}

void NetworkManagerWifi::readAccessPoint(const QString &path, quint64 generation)
{
    auto *watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(getProperty(path, AccessPointInterface, "Ssid"), CallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        const QByteArray bytes = replyValue(watcher->reply()).toByteArray();
        // The name is raw bytes; most are UTF-8.
        finish(bytes.isEmpty() ? std::nullopt : std::optional<QString>(QString::fromUtf8(bytes)), generation);
    });
}

void NetworkManagerWifi::finish(std::optional<QString> ssid, quint64 generation)
{
    if (generation != m_generation)
        return;
    m_inFlight = false;
    if (ssid != m_ssid) {
        m_ssid = std::move(ssid);
        emit ssidChanged();
    }
}

bool QtReachability::load()
{
    if (m_tried)
        return m_loaded;
    m_tried = true;
    m_loaded = QNetworkInformation::instance() || QNetworkInformation::loadDefaultBackend()
        || QNetworkInformation::loadBackendByName(QStringLiteral("glib"));
    if (!m_loaded)
        qCInfo(lcPlatform) << "no network information backend; the network counts as reachable";
    return m_loaded;
}

bool QtReachability::isReachable()
{
    QNetworkInformation *info = load() ? QNetworkInformation::instance() : nullptr;
    if (!info)
        return true;
    return info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

} // namespace platform
