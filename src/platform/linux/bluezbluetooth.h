#pragma once

#include "platform/bluetoothservice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QMap>
#include <QObject>
#include <QVariantMap>

class QDBusServiceWatcher;

namespace platform {

// Bluetooth devices from BlueZ over D-Bus (org.bluez on the system bus).
//
// Keeps a copy of every org.bluez.Device1 object: loaded once with
// GetManagedObjects and then kept current by InterfacesAdded,
// InterfacesRemoved and PropertiesChanged, so that reads never wait on the
// bus. A device's Connected property turning true or false fires the
// registered notifications. When bluetoothd goes away the copy is emptied;
// when it comes back it is loaded again.
class BlueZBluetooth final : public QObject, public platform::IBluetoothService {
    Q_OBJECT
public:
    explicit BlueZBluetooth(const QDBusConnection &systemBus, QObject *parent = nullptr);
    ~BlueZBluetooth() override;

    QList<platform::BluetoothDevice> pairedDevices() const override;
    int registerForConnectNotifications(Callback callback) override;
    int registerForDisconnectNotification(const QString &address, Callback callback) override;
    void unregister(int id) override;

    // Whether the device list has been loaded from bluetoothd.
    bool isLoaded() const { return m_loaded; }

signals:
    void loadedChanged();
    void devicesChanged();

private slots:
    void onInterfacesAdded(const QDBusMessage &message);
    void onInterfacesRemoved(const QDBusMessage &message);
    void onPropertiesChanged(const QDBusMessage &message);

private:
    struct Entry {
        QString address;
        QString alias;
        QString name;
        bool paired = false;
        bool connected = false;
        platform::BluetoothDevice device() const;
    };
    struct Note {
        QString address; // empty: any device connecting
        Callback callback;
    };

    void load();
    void clear();
    void applyProperties(const QString &path, const QVariantMap &props, bool added);
    void fire(const platform::BluetoothDevice &device, bool connected);

    QDBusConnection m_bus;
    QDBusServiceWatcher *m_watcher = nullptr;
    QMap<QString, Entry> m_devices; // object path -> device
    QMap<int, Note> m_notes;
    int m_nextNote = 1;
    bool m_loaded = false;
    quint64 m_loadSerial = 0;
};

} // namespace platform
