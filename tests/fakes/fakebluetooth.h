#pragma once

#include "platform/bluetoothservice.h"

#include <QMap>

// Bluetooth devices in memory; connect() and disconnect() fire the
// registered notifications the way the system does.
class FakeBluetooth final : public platform::IBluetoothService {
public:
    QList<platform::BluetoothDevice> devices;
    // How often the paired devices were listed.
    mutable int listings = 0;

    QList<platform::BluetoothDevice> pairedDevices() const override;
    int registerForConnectNotifications(Callback callback) override;
    int registerForDisconnectNotification(const QString &address, Callback callback) override;
    void unregister(int id) override { m_notes.remove(id); }

    void add(const QString &address, const QString &name, bool paired = true, bool connected = false);
    void connect(const QString &address);
    void disconnect(const QString &address);
    int registrationCount() const { return int(m_notes.size()); }

private:
    struct Note {
        QString address; // empty: any device connecting
        Callback callback;
    };
    void setConnected(const QString &address, bool connected);

    QMap<int, Note> m_notes;
    int m_nextId = 1;
};
