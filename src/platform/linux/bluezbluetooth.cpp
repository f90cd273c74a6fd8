#include "platform/linux/bluezbluetooth.h"

#include "core/logging.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace platform {

namespace {

const QString service = QStringLiteral("org.bluez");
const QString deviceInterface = QStringLiteral("org.bluez.Device1");
const QString objectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int loadTimeoutMs = 5000;

// Reads a{sa{sv}}: interface -> properties.
QMap<QString, QVariantMap> readInterfaces(const QDBusArgument &arg)
{
    QMap<QString, QVariantMap> interfaces;
    arg.beginMap();
    while (!arg.atEnd()) {
        QString name;
        QVariantMap props;
        arg.beginMapEntry();
        arg >> name >> props;
        arg.endMapEntry();
        interfaces.insert(name, props);
    }
    arg.endMap();
    return interfaces;
}

QVariantMap unwrap(const QVariant &v)
{
    if (v.canConvert<QDBusArgument>()) {
        QVariantMap map;
        v.value<QDBusArgument>() >> map;
        return map;
    }
    return v.toMap();
}

} // namespace

platform::BluetoothDevice BlueZBluetooth::Entry::device() const
{
    return {address, alias.isEmpty() ? name : alias, paired, connected};
}

BlueZBluetooth::BlueZBluetooth(const QDBusConnection &systemBus, QObject *parent)
    : QObject(parent)
    , m_bus(systemBus)
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(service, QString(), objectManager, QStringLiteral("InterfacesAdded"), this,
                  SLOT(onInterfacesAdded(QDBusMessage)));
    m_bus.connect(service, QString(), objectManager, QStringLiteral("InterfacesRemoved"), this,
                  SLOT(onInterfacesRemoved(QDBusMessage)));
    m_bus.connect(service, QString(), propertiesInterface, QStringLiteral("PropertiesChanged"), this,
                  SLOT(onPropertiesChanged(QDBusMessage)));
    m_watcher = new QDBusServiceWatcher(service, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &newOwner) {
                clear();
                if (!newOwner.isEmpty())
                    load();
            });
    load();
}

BlueZBluetooth::~BlueZBluetooth() = default;

void BlueZBluetooth::load()
{
    const quint64 serial = ++m_loadSerial;
    QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/"), objectManager,
                                                       QStringLiteral("GetManagedObjects"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, loadTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, serial] {
        watcher->deleteLater();
        if (serial != m_loadSerial)
            return;
        const QDBusMessage reply = watcher->reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            qCDebug(lcPlatform) << "BlueZ not available:" << watcher->error().message();
            return;
        }
        const QDBusArgument arg = reply.arguments().first().value<QDBusArgument>();
        arg.beginMap();
        while (!arg.atEnd()) {
            QDBusObjectPath path;
            arg.beginMapEntry();
            arg >> path;
            const QMap<QString, QVariantMap> interfaces = readInterfaces(arg);
            arg.endMapEntry();
            if (interfaces.contains(deviceInterface))
                applyProperties(path.path(), interfaces.value(deviceInterface), true);
        }
        arg.endMap();
        m_loaded = true;
        emit loadedChanged();
        emit devicesChanged();
    });
}

void BlueZBluetooth::clear()
{
    ++m_loadSerial;
    m_devices.clear();
    if (m_loaded) {
        m_loaded = false;
        emit loadedChanged();
    }
    emit devicesChanged();
}

QList<platform::BluetoothDevice> BlueZBluetooth::pairedDevices() const
{
    QList<platform::BluetoothDevice> paired;
    for (const Entry &e : m_devices) {
        if (e.paired)
            paired.append(e.device());
    }
    return paired;
}

int BlueZBluetooth::registerForConnectNotifications(Callback callback)
{
    m_notes.insert(m_nextNote, {QString(), std::move(callback)});
    return m_nextNote++;
}

int BlueZBluetooth::registerForDisconnectNotification(const QString &address, Callback callback)
{
    if (address.isEmpty())
        return 0;
    m_notes.insert(m_nextNote, {address, std::move(callback)});
    return m_nextNote++;
}

void BlueZBluetooth::unregister(int id)
{
    m_notes.remove(id);
}

void BlueZBluetooth::applyProperties(const QString &path, const QVariantMap &props, bool added)
{
    const bool known = m_devices.contains(path);
    if (!known && !added)
        return;
    Entry &e = m_devices[path];
    const bool wasConnected = known && e.connected;
    if (props.contains(QStringLiteral("Address")))
        e.address = props.value(QStringLiteral("Address")).toString();
    if (props.contains(QStringLiteral("Alias")))
        e.alias = props.value(QStringLiteral("Alias")).toString();
    if (props.contains(QStringLiteral("Name")))
        e.name = props.value(QStringLiteral("Name")).toString();
    if (props.contains(QStringLiteral("Paired")))
        e.paired = props.value(QStringLiteral("Paired")).toBool();
    if (props.contains(QStringLiteral("Connected")))
        e.connected = props.value(QStringLiteral("Connected")).toBool();
    // Devices already connected when the list is first loaded are no news.
    if (known && e.connected != wasConnected)
        fire(e.device(), e.connected);
    else if (!known && m_loaded && e.connected)
        fire(e.device(), true);
}

void BlueZBluetooth::onInterfacesAdded(const QDBusMessage &message)
{
    if (message.arguments().size() < 2)
        return;
    const QString path = message.arguments().at(0).value<QDBusObjectPath>().path();
    const QMap<QString, QVariantMap> interfaces = readInterfaces(message.arguments().at(1).value<QDBusArgument>());
    if (!interfaces.contains(deviceInterface))
        return;
    applyProperties(path, interfaces.value(deviceInterface), true);
    emit devicesChanged();
}

void BlueZBluetooth::onInterfacesRemoved(const QDBusMessage &message)
{
    if (message.arguments().size() < 2)
        return;
    const QString path = message.arguments().at(0).value<QDBusObjectPath>().path();
    const QStringList interfaces = message.arguments().at(1).toStringList();
    if (!interfaces.contains(deviceInterface) || !m_devices.contains(path))
        return;
    const Entry gone = m_devices.take(path);
    if (gone.connected) {
        platform::BluetoothDevice device = gone.device();
        device.connected = false;
        fire(device, false);
    }
    emit devicesChanged();
}

void BlueZBluetooth::onPropertiesChanged(const QDBusMessage &message)
{
    if (message.arguments().size() < 2 || message.arguments().at(0).toString() != deviceInterface)
        return;
    applyProperties(message.path(), unwrap(message.arguments().at(1)), false);
    emit devicesChanged();
}

void BlueZBluetooth::fire(const platform::BluetoothDevice &device, bool connected)
{
    // Callbacks may withdraw registrations: walk a copy of the ids.
    const QList<int> ids = m_notes.keys();
    for (int id : ids) {
        const auto it = m_notes.constFind(id);
        if (it == m_notes.cend())
            continue;
        const bool matches = connected ? it->address.isEmpty()
                                       : (!it->address.isEmpty() && it->address == device.address);
        if (matches) {
            const Callback cb = it->callback;
            cb(device);
        }
    }
}

} // namespace platform
