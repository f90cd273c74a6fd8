#pragma once

#include <QList>
#include <QString>
#include <functional>

namespace platform {

// A Bluetooth device the system knows.
struct BluetoothDevice {
    QString address;
    QString name; // empty when the device has none
    bool paired = false;
    bool connected = false;

    // The name, else the address.
    QString nameOrAddress() const { return name.isEmpty() ? address : name; }
    bool operator==(const BluetoothDevice &) const = default;
};

// The system's Bluetooth devices and their connections.
//
// Notifications are registrations: each returns a non-zero id that stays in
// force until unregister(id). Callbacks run on the main thread.
class IBluetoothService {
public:
    using Callback = std::function<void(const BluetoothDevice &)>;

    virtual ~IBluetoothService() = default;

    // Paired devices, in a stable order; empty when Bluetooth is off or
    // absent.
    virtual QList<BluetoothDevice> pairedDevices() const = 0;
    // Calls back whenever any device connects. 0 when unavailable.
    virtual int registerForConnectNotifications(Callback callback) = 0;
    // Calls back whenever the device with this address disconnects.
    virtual int registerForDisconnectNotification(const QString &address, Callback callback) = 0;
    virtual void unregister(int id) = 0;
};

} // namespace platform
