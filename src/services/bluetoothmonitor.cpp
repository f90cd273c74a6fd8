#include "services/bluetoothmonitor.h"

#include "platform/bluetoothservice.h"

namespace {
QString reportedName(const platform::BluetoothDevice &device)
{
    const QString name = device.nameOrAddress();
    return name.isEmpty() ? QStringLiteral("Bluetooth device") : name;
}
} // namespace

BluetoothMonitor::BluetoothMonitor(platform::IBluetoothService *service, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_devices(new BluetoothDevicesModel(this))
{
}

QList<BluetoothDeviceInfo> BluetoothMonitor::devices() const
{
    return QList<BluetoothDeviceInfo>(m_devices->rows().begin(), m_devices->rows().end());
}

BluetoothMonitor::~BluetoothMonitor()
{
    stop();
}

void BluetoothMonitor::refresh()
{
    std::vector<BluetoothDeviceInfo> devices;
    const QList<platform::BluetoothDevice> paired = m_service->pairedDevices();
    for (const platform::BluetoothDevice &device : paired) {
        if (!device.connected)
            continue;
        BluetoothDeviceInfo info;
        info.name = device.nameOrAddress();
        if (info.name.isEmpty())
            info.name = QStringLiteral("Bluetooth");
        info.id = device.address.isEmpty() ? info.name : device.address;
        devices.push_back(info);
    }
    m_devices->sync(devices);
}

void BluetoothMonitor::start()
{
    const QList<platform::BluetoothDevice> paired = m_service->pairedDevices();
    for (const platform::BluetoothDevice &device : paired) {
        if (device.connected)
            watchDisconnect(device.address);
    }
}

void BluetoothMonitor::stop()
{
    ++m_generation;
    if (m_connectNote != 0) {
        m_service->unregister(m_connectNote);
        m_connectNote = 0;
    }
    for (int note : std::as_const(m_disconnectNotes))
        m_service->unregister(note);
    m_disconnectNotes.clear();
}

void BluetoothMonitor::registerForConnectNotifications()
{
    if (m_connectNote != 0)
        return;
    m_connectNote = m_service->registerForConnectNotifications(
        [this](const platform::BluetoothDevice &device) { deviceConnected(device); });
}

void BluetoothMonitor::watchDisconnect(const QString &address)
{
    if (address.isEmpty() || m_disconnectNotes.contains(address))
        return;
    const int note = m_service->registerForDisconnectNotification(
        address, [this](const platform::BluetoothDevice &device) { deviceDisconnected(device); });
    if (note != 0)
        m_disconnectNotes.insert(address, note);
}

void BluetoothMonitor::deviceConnected(const platform::BluetoothDevice &device)
{
    const QString name = reportedName(device);
    watchDisconnect(device.address);
    refresh();
    report(&BluetoothMonitor::connected, name);
}

void BluetoothMonitor::deviceDisconnected(const platform::BluetoothDevice &device)
{
    const QString name = reportedName(device);
    refresh();
    report(&BluetoothMonitor::disconnected, name);
}

void BluetoothMonitor::report(void (BluetoothMonitor::*signal)(const QString &), const QString &name)
{
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, signal, name, generation] {
            if (generation == m_generation)
                emit(this->*signal)(name);
        },
        Qt::QueuedConnection);
}
