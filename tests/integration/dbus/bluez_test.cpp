#include "dbusmock.h"
#include "platform/linux/bluezbluetooth.h"
#include "services/bluetoothmonitor.h"
#include "support/pavlettest.h"
#include "support/privatebus.h"

#include <QDBusObjectPath>

namespace {

const QString addr = QStringLiteral("11:22:33:44:55:66");

class BlueZTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!dbusmockInstalled())
            GTEST_SKIP() << "python3-dbusmock is not installed";
        ASSERT_TRUE(bus.isRunning());
        ASSERT_TRUE(bus.startTemplate("bluez5", "org.bluez"));
        ASSERT_EQ(mock("AddAdapter", {"hci0", "pavlet-test"}).type(), QDBusMessage::ReplyMessage);
        ASSERT_EQ(mock("AddDevice", {"hci0", addr, "Headphones"}).type(), QDBusMessage::ReplyMessage);
        ASSERT_EQ(mock("PairDevice", {"hci0", addr, 5898764}).type(), QDBusMessage::ReplyMessage);
    }
    QDBusMessage mock(const QString &method, const QVariantList &args)
    {
        return bus.call("org.bluez", "/", "org.bluez.Mock", method, args);
    }
    static void settle(int ms) { waitUntil([] { return false; }, ms); }

    PrivateBus bus;
};

TEST_F(BlueZTest, ReportsConnectionsOnceAndNothingAfterStop)
{
    platform::BlueZBluetooth bluez(bus.connection());
    ASSERT_TRUE(waitUntil([&] { return bluez.isLoaded(); }));
    ASSERT_EQ(bluez.pairedDevices().size(), 1);
    EXPECT_EQ(bluez.pairedDevices().first(), (platform::BluetoothDevice{addr, "Headphones", true, false}));

    BluetoothMonitor monitor(&bluez);
    QStringList events;
    qsizetype listedAtConnect = -1;
    QObject::connect(&monitor, &BluetoothMonitor::connected, [&](const QString &name) {
        events << "+" + name;
        listedAtConnect = monitor.devices().size();
    });
    QObject::connect(&monitor, &BluetoothMonitor::disconnected, [&](const QString &name) { events << "-" + name; });
    // The owner applies its settings several times.
    for (int i = 0; i < 3; ++i) {
        monitor.registerForConnectNotifications();
        monitor.refresh();
        monitor.start();
    }
    EXPECT_TRUE(monitor.devices().isEmpty());

    mock("ConnectDevice", {"hci0", addr});
    ASSERT_TRUE(waitUntil([&] { return !events.isEmpty(); }));
    EXPECT_EQ(listedAtConnect, 1);
    EXPECT_EQ(monitor.devices(), (QList<BluetoothDeviceInfo>{{addr, "Headphones"}}));

    for (int i = 0; i < 3; ++i) {
        monitor.registerForConnectNotifications();
        monitor.refresh();
        monitor.start();
    }
    mock("DisconnectDevice", {"hci0", addr});
    ASSERT_TRUE(waitUntil([&] { return events.size() >= 2; }));
    settle(300);
    EXPECT_EQ(events, (QStringList{"+Headphones", "-Headphones"}));
    EXPECT_TRUE(monitor.devices().isEmpty());

    // Bluetooth turned off in the settings.
    monitor.stop();
    mock("ConnectDevice", {"hci0", addr});
    ASSERT_TRUE(waitUntil([&] { return bluez.pairedDevices().value(0).connected; }));
    mock("DisconnectDevice", {"hci0", addr});
    ASSERT_TRUE(waitUntil([&] { return !bluez.pairedDevices().value(0).connected; }));
    settle(300);
    EXPECT_EQ(events.size(), 2);
}

TEST_F(BlueZTest, DeviceListFollowsTheDaemon)
{
    mock("ConnectDevice", {"hci0", addr});
    mock("AddDevice", {"hci0", "AA:BB:CC:DD:EE:FF", "Stranger"}); // never paired
    platform::BlueZBluetooth bluez(bus.connection());
    ASSERT_TRUE(waitUntil([&] { return bluez.isLoaded(); }));
    BluetoothMonitor monitor(&bluez);
    monitor.refresh();
    EXPECT_EQ(monitor.devices(), (QList<BluetoothDeviceInfo>{{addr, "Headphones"}}));

    // A connected device that goes away counts as disconnected.
    QStringList events;
    QObject::connect(&monitor, &BluetoothMonitor::disconnected, [&](const QString &name) { events << name; });
    monitor.start();
    bus.call("org.bluez", "/org/bluez/hci0", "org.bluez.Adapter1", "RemoveDevice",
             {QVariant::fromValue(QDBusObjectPath("/org/bluez/hci0/dev_11_22_33_44_55_66"))});
    ASSERT_TRUE(waitUntil([&] { return !events.isEmpty(); }));
    EXPECT_EQ(events, QStringList{"Headphones"});
    EXPECT_TRUE(monitor.devices().isEmpty());
}

} // namespace
