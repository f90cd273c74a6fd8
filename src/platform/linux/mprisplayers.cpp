#include "platform/linux/mprisplayers.h"

#include "core/logging.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace platform {

namespace {

const QString prefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString path = QStringLiteral("/org/mpris/MediaPlayer2");
const QString rootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString busService = QStringLiteral("org.freedesktop.DBus");

bool isPlayerName(const QString &name)
{
    return name.startsWith(prefix) && name.size() > prefix.size();
}

} // namespace

MprisPlayerWatch::MprisPlayerWatch(MprisPlayers &owner, const QString &name)
    : QObject(&owner)
    , m_owner(owner)
    , m_name(name)
{
}

void MprisPlayerWatch::onPropertiesChanged(const QString &interface, const QVariantMap &changed,
                                           const QStringList &invalidated)
{
    if (interface != playerInterface && interface != rootInterface)
        return;
    m_owner.applyProperties(m_name, changed);
    if (!invalidated.isEmpty())
        m_owner.readAll(m_name, interface);
}

void MprisPlayerWatch::onSeeked(qlonglong positionUs)
{
    m_owner.applyProperties(m_name, {{QStringLiteral("Position"), positionUs}});
}

MprisPlayers::MprisPlayers(const QDBusConnection &bus, QObject *parent)
    : platform::IMediaPlayers(parent)
    , m_bus(bus)
{
}

MprisPlayers::~MprisPlayers()
{
    stop();
}

QVariant MprisPlayers::plainValue(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QDBusVariant>())
        return plainValue(value.value<QDBusVariant>().variant());
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    if (value.metaType() == QMetaType::fromType<QVariantMap>()) {
        QVariantMap out;
        const QVariantMap in = value.toMap();
        for (auto it = in.cbegin(); it != in.cend(); ++it)
            out.insert(it.key(), plainValue(it.value()));
        return out;
    }
    if (value.metaType() != QMetaType::fromType<QDBusArgument>())
        return value;
    const QDBusArgument arg = value.value<QDBusArgument>();
    switch (arg.currentType()) {
    case QDBusArgument::MapType: {
        QVariantMap out;
        arg.beginMap();
        while (!arg.atEnd()) {
            QString key;
            QVariant item;
            arg.beginMapEntry();
            arg >> key >> item;
            arg.endMapEntry();
            out.insert(key, plainValue(item));
        }
        arg.endMap();
        return out;
    }
    case QDBusArgument::ArrayType: {
        QVariantList out;
        bool allText = true;
        arg.beginArray();
        while (!arg.atEnd()) {
            QVariant item;
            arg >> item;
            item = plainValue(item);
            allText = allText && item.metaType() == QMetaType::fromType<QString>();
            out.append(item);
        }
        arg.endArray();
        if (allText) {
            QStringList texts;
            for (const QVariant &v : std::as_const(out))
                texts << v.toString();
            return texts;
        }
        return out;
    }
    case QDBusArgument::VariantType: {
        QDBusVariant inner;
        arg >> inner;
        return plainValue(inner.variant());
    }
    default:
        return {};
    }
}

void MprisPlayers::start()
{
    if (m_running || !m_bus.isConnected())
        return;
    m_running = true;
    m_bus.connect(busService, QStringLiteral("/org/freedesktop/DBus"), busService, QStringLiteral("NameOwnerChanged"),
                  this, SLOT(onNameOwnerChanged(QString, QString, QString)));
    const QDBusMessage list = QDBusMessage::createMethodCall(busService, QStringLiteral("/org/freedesktop/DBus"),
                                                             busService, QStringLiteral("ListNames"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(list), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QStringList> reply = *w;
        if (!m_running || reply.isError())
            return;
        for (const QString &name : reply.value()) {
            if (isPlayerName(name))
                addPlayer(name);
        }
    });
}

void MprisPlayers::stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_bus.disconnect(busService, QStringLiteral("/org/freedesktop/DBus"), busService,
                     QStringLiteral("NameOwnerChanged"), this, SLOT(onNameOwnerChanged(QString, QString, QString)));
    const QStringList names = m_order;
    for (const QString &name : names)
        removePlayer(name);
}

QList<platform::MediaPlayerState> MprisPlayers::players() const
{
    QList<platform::MediaPlayerState> out;
    for (const QString &name : m_order)
        out.append(m_players.value(name));
    return out;
}

void MprisPlayers::onNameOwnerChanged(const QString &name, const QString &oldOwner, const QString &newOwner)
{
    if (!isPlayerName(name))
        return;
    if (!oldOwner.isEmpty())
        removePlayer(name);
    if (!newOwner.isEmpty())
        addPlayer(name);
}

void MprisPlayers::addPlayer(const QString &name)
{
    if (m_players.contains(name))
        return;
    platform::MediaPlayerState state;
    state.id = name;
    m_players.insert(name, state);
    m_order.append(name);
    auto *watch = new MprisPlayerWatch(*this, name);
    m_watches.insert(name, watch);
    m_bus.connect(name, path, propertiesInterface, QStringLiteral("PropertiesChanged"), watch,
                  SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    m_bus.connect(name, path, playerInterface, QStringLiteral("Seeked"), watch, SLOT(onSeeked(qlonglong)));
    readAll(name, rootInterface);
    readAll(name, playerInterface);
}

void MprisPlayers::removePlayer(const QString &name)
{
    if (!m_players.remove(name))
        return;
    m_order.removeAll(name);
    if (MprisPlayerWatch *watch = m_watches.take(name)) {
        m_bus.disconnect(name, path, propertiesInterface, QStringLiteral("PropertiesChanged"), watch,
                         SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
        m_bus.disconnect(name, path, playerInterface, QStringLiteral("Seeked"), watch, SLOT(onSeeked(qlonglong)));
        watch->deleteLater();
    }
    emit playerRemoved(name);
}

void MprisPlayers::readAll(const QString &name, const QString &interface)
{
    QDBusMessage call = QDBusMessage::createMethodCall(name, path, propertiesInterface, QStringLiteral("GetAll"));
    call << interface;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, name](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QVariantMap> reply = *w;
        if (reply.isError()) {
            qCDebug(lcPlatform) << "MPRIS player" << name << "did not answer:" << reply.error().message();
            return;
        }
        applyProperties(name, reply.value());
    });
}

void MprisPlayers::applyProperties(const QString &name, const QVariantMap &values)
{
    auto it = m_players.find(name);
    if (it == m_players.end())
        return;
    platform::MediaPlayerState &state = it.value();
    const platform::MediaPlayerState before = state;
    for (auto v = values.cbegin(); v != values.cend(); ++v) {
        const QVariant value = plainValue(v.value());
        const QString &key = v.key();
        if (key == QLatin1String("Metadata"))
            state.metadata = value.toMap();
        else if (key == QLatin1String("PlaybackStatus"))
            state.playbackStatus = value.toString();
        else if (key == QLatin1String("Position"))
            state.positionUs = value.toLongLong();
        else if (key == QLatin1String("Rate"))
            state.rate = value.toDouble();
        else if (key == QLatin1String("Identity"))
            state.identity = value.toString();
        else if (key == QLatin1String("DesktopEntry"))
            state.desktopEntry = value.toString();
    }
    if (!(state == before))
        emit playerChanged(name);
}

void MprisPlayers::readPosition(const QString &name)
{
    QDBusMessage call = QDBusMessage::createMethodCall(name, path, propertiesInterface, QStringLiteral("Get"));
    call << playerInterface << QStringLiteral("Position");
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, name](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QVariant> reply = *w;
        if (reply.isError())
            return;
        applyProperties(name, {{QStringLiteral("Position"), reply.value()}});
    });
}

void MprisPlayers::refreshPositions()
{
    for (const QString &name : std::as_const(m_order))
        readPosition(name);
}

bool MprisPlayers::sendCommand(const QString &playerId, platform::MediaCommand command)
{
    if (!m_players.contains(playerId))
        return false;
    QString method;
    switch (command) {
    case platform::MediaCommand::PlayPause: method = QStringLiteral("PlayPause"); break;
    case platform::MediaCommand::Next: method = QStringLiteral("Next"); break;
    case platform::MediaCommand::Previous: method = QStringLiteral("Previous"); break;
    }
    m_bus.asyncCall(QDBusMessage::createMethodCall(playerId, path, playerInterface, method));
    return true;
}

} // namespace platform
