#pragma once

#include "core/recordlistmodel.h"

#include <QHash>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <functional>

namespace platform {
class IBluetoothService;
struct BluetoothDevice;
} // namespace platform

// A connected Bluetooth device as the island lists it.
struct BluetoothDeviceInfo {
    Q_GADGET
    QML_VALUE_TYPE(bluetoothDeviceInfo)
    Q_PROPERTY(QString id MEMBER id)
    Q_PROPERTY(QString name MEMBER name)
public:
    QString id;   // the device's address, else its name
    QString name; // "Bluetooth" when the device gives none

    enum Role { IdRole = Qt::UserRole, NameRole };
    static QHash<int, QByteArray> roles() { return {{IdRole, "deviceId"}, {NameRole, "name"}}; }
    QVariant roleValue(int role) const
    {
        return role == IdRole ? QVariant(id) : role == NameRole ? QVariant(name) : QVariant();
    }
    bool operator==(const BluetoothDeviceInfo &) const = default;
};
Q_DECLARE_METATYPE(BluetoothDeviceInfo)

using BluetoothDevicesModel = RecordListModel<BluetoothDeviceInfo>;

// Keeps the list of connected Bluetooth devices and reports devices
// connecting and disconnecting.
//
// The owner calls registerForConnectNotifications(), refresh() and start()
// while Bluetooth is wanted, and stop() when it is not. Every registration
// is made once and stop() withdraws all of them, so repeated starts never
// double the reports and nothing is reported after stop().
class BluetoothMonitor : public QObject {
    Q_OBJECT
    Q_PROPERTY(RecordListModelBase *devices READ devicesModel CONSTANT)
public:
    explicit BluetoothMonitor(platform::IBluetoothService *service, QObject *parent = nullptr);
    ~BluetoothMonitor() override;

    // The connected devices as the island lists them.
    QList<BluetoothDeviceInfo> devices() const;
    BluetoothDevicesModel *devicesModel() const { return m_devices; }

    // Rebuilds devices(): the paired devices that are connected.
    void refresh();
    // Watches every connected paired device for its disconnection.
    void start();
    // Withdraws every registration.
    void stop();
    // Watches for any device connecting.
    void registerForConnectNotifications();

    bool isWatchingConnects() const { return m_connectNote != 0; }
    int disconnectWatchCount() const { return int(m_disconnectNotes.size()); }

signals:
    // A device's name, later on the main thread, with devices() already
    // up to date.
    void connected(const QString &name);
    void disconnected(const QString &name);

private:
    void deviceConnected(const platform::BluetoothDevice &device);
    void deviceDisconnected(const platform::BluetoothDevice &device);
    void watchDisconnect(const QString &address);
    void report(void (BluetoothMonitor::*signal)(const QString &), const QString &name);

    platform::IBluetoothService *m_service;
    BluetoothDevicesModel *m_devices;
    int m_connectNote = 0;
    QHash<QString, int> m_disconnectNotes; // address -> registration
    // Bumped by stop() so that reports already on their way are dropped.
    quint64 m_generation = 0;
};
