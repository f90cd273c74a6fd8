#include "fakes/fakebluetooth.h"

QList<platform::BluetoothDevice> FakeBluetooth::pairedDevices() const
{
    ++listings;
    QList<platform::BluetoothDevice> paired;
    for (const platform::BluetoothDevice &d : devices) {
        if (d.paired)
            paired.append(d);
    }
    return paired;
}

int FakeBluetooth::registerForConnectNotifications(Callback callback)
{
    m_notes.insert(m_nextId, {QString(), std::move(callback)});
    return m_nextId++;
}

int FakeBluetooth::registerForDisconnectNotification(const QString &address, Callback callback)
{
    m_notes.insert(m_nextId, {address, std::move(callback)});
    return m_nextId++;
}

void FakeBluetooth::add(const QString &address, const QString &name, bool paired, bool connected)
{
    devices.append({address, name, paired, connected});
}

void FakeBluetooth::connect(const QString &address)
{
    setConnected(address, true);
}

void FakeBluetooth::disconnect(const QString &address)
{
    setConnected(address, false);
}

void FakeBluetooth::setConnected(const QString &address, bool connected)
{
    platform::BluetoothDevice changed;
    for (platform::BluetoothDevice &d : devices) {
        if (d.address == address) {
            d.connected = connected;
            changed = d;
        }
    }
    // Callbacks may withdraw registrations: walk a copy of the ids.
    const QList<int> ids = m_notes.keys();
    for (int id : ids) {
        auto it = m_notes.find(id);
        if (it == m_notes.end())
            continue;
        const bool forThis = connected ? it->address.isEmpty() : it->address == address;
        if (forThis) {
            const Callback cb = it->callback;
            cb(changed);
        }
    }
}
