#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QStringList>
#include <QUuid>

// A media player on a test bus: it owns "org.mpris.MediaPlayer2.<suffix>"
// on a connection of its own, answers property reads, records the commands
// it receives and announces its changes as a real player would.
class FakeMprisPlayer : public QDBusVirtualObject {
    Q_OBJECT
public:
    static inline const QString Path = QStringLiteral("/org/mpris/MediaPlayer2");
    static inline const QString Root = QStringLiteral("org.mpris.MediaPlayer2");
    static inline const QString Player = QStringLiteral("org.mpris.MediaPlayer2.Player");
    static inline const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");

    FakeMprisPlayer(const QString &busAddress, const QString &suffix, const QString &identity = {})
        : m_connectionName(QStringLiteral("fake-player-") + QUuid::createUuid().toString(QUuid::Id128))
        , m_bus(QDBusConnection::connectToBus(busAddress, m_connectionName))
        , m_name(QStringLiteral("org.mpris.MediaPlayer2.") + suffix)
    {
        m_root = {{QStringLiteral("Identity"), identity}, {QStringLiteral("DesktopEntry"), QString()}};
        m_player = {{QStringLiteral("Metadata"), QVariantMap()},
                    {QStringLiteral("PlaybackStatus"), QStringLiteral("Stopped")},
                    {QStringLiteral("Position"), qlonglong(0)},
                    {QStringLiteral("Rate"), 1.0}};
    }
    ~FakeMprisPlayer() override
    {
        vanish();
        QDBusConnection::disconnectFromBus(m_connectionName);
    }

    QString name() const { return m_name; }
    QStringList commands;

    bool appear()
    {
        return m_bus.registerVirtualObject(Path, this) && m_bus.registerService(m_name);
    }
    void vanish()
    {
        m_bus.unregisterService(m_name);
        m_bus.unregisterObject(Path);
    }

    void setTrack(const QVariantMap &metadata, const QString &status)
    {
        m_player[QStringLiteral("Metadata")] = metadata;
        m_player[QStringLiteral("PlaybackStatus")] = status;
        announce({{QStringLiteral("Metadata"), metadata}, {QStringLiteral("PlaybackStatus"), status}});
    }
    void setStatus(const QString &status)
    {
        m_player[QStringLiteral("PlaybackStatus")] = status;
        announce({{QStringLiteral("PlaybackStatus"), status}});
    }
    // Moves the position without a property change, as players do.
    void setPosition(qlonglong us) { m_player[QStringLiteral("Position")] = us; }
    void seek(qlonglong us)
    {
        setPosition(us);
        QDBusMessage signal = QDBusMessage::createSignal(Path, Player, QStringLiteral("Seeked"));
        signal << us;
        m_bus.send(signal);
    }

    QString introspect(const QString &) const override { return {}; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        const QString iface = message.interface();
        const QString member = message.member();
        if (iface == Properties && (member == QLatin1String("GetAll") || member == QLatin1String("Get"))) {
            const QVariantList args = message.arguments();
            const QVariantMap &props = args.value(0).toString() == Root ? m_root : m_player;
            if (member == QLatin1String("GetAll")) {
                connection.send(message.createReply(QVariant::fromValue(props)));
            } else {
                connection.send(message.createReply(
                    QVariant::fromValue(QDBusVariant(props.value(args.value(1).toString())))));
            }
            return true;
        }
        if (iface == Player) {
            commands << member;
            connection.send(message.createReply());
            return true;
        }
        return false;
    }

private:
    void announce(const QVariantMap &changed)
    {
        QDBusMessage signal = QDBusMessage::createSignal(Path, Properties, QStringLiteral("PropertiesChanged"));
        signal << Player << changed << QStringList();
        m_bus.send(signal);
    }

    QString m_connectionName;
    QDBusConnection m_bus;
    QString m_name;
    QVariantMap m_root;
    QVariantMap m_player;
};
