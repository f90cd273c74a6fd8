#include "fakes/fakebluetooth.h"
#include "services/bluetoothmonitor.h"
#include "support/pavlettest.h"

#include <QCoreApplication>

namespace {

class BluetoothMonitorTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        QObject::connect(&monitor, &BluetoothMonitor::connected, [this](const QString &name) {
            events << "+" + name;
            // What a handler sees of the list when it runs.
            seenDevices = monitor.devices().size();
        });
        QObject::connect(&monitor, &BluetoothMonitor::disconnected, [this](const QString &name) { events << "-" + name; });
    }
    QStringList drained()
    {
        QCoreApplication::sendPostedEvents();
        return events;
    }
    // What the owner does whenever the settings change.
    void apply()
    {
        monitor.registerForConnectNotifications();
        monitor.refresh();
        monitor.start();
    }

    FakeBluetooth bt;
    BluetoothMonitor monitor{&bt};
    QStringList events;
    qsizetype seenDevices = -1;
};

TEST_F(BluetoothMonitorTest, RefreshListsConnectedPairedDevices)
{
    bt.add("AA:AA:AA:AA:AA:01", "Headphones", true, true);
    bt.add("AA:AA:AA:AA:AA:02", "Mouse", true, false);
    bt.add("AA:AA:AA:AA:AA:03", "Stranger", false, true);
    bt.add("", "Speaker", true, true);
    bt.add("AA:AA:AA:AA:AA:05", "", true, true);
    bt.add("", "", true, true);
    monitor.refresh();
    const QList<BluetoothDeviceInfo> expected = {
        {"AA:AA:AA:AA:AA:01", "Headphones"},
        {"Speaker", "Speaker"},
        {"AA:AA:AA:AA:AA:05", "AA:AA:AA:AA:AA:05"},
        {"Bluetooth", "Bluetooth"},
    };
    EXPECT_EQ(monitor.devices(), expected);
}

TEST_F(BluetoothMonitorTest, ConnectAndDisconnectAreReportedWithTheListAlreadyFresh)
{
    bt.add("AA:AA:AA:AA:AA:01", "Headphones");
    bt.add("AA:AA:AA:AA:AA:02", "");
    apply();
    bt.connect("AA:AA:AA:AA:AA:01");
    EXPECT_EQ(monitor.devices().size(), 1);
    EXPECT_EQ(drained(), QStringList{"+Headphones"});
    EXPECT_EQ(seenDevices, 1);

    bt.connect("AA:AA:AA:AA:AA:02");
    bt.disconnect("AA:AA:AA:AA:AA:01");
    EXPECT_EQ(drained(), (QStringList{"+Headphones", "+AA:AA:AA:AA:AA:02", "-Headphones"}));
    EXPECT_EQ(monitor.devices(), (QList<BluetoothDeviceInfo>{{"AA:AA:AA:AA:AA:02", "AA:AA:AA:AA:AA:02"}}));
}

TEST_F(BluetoothMonitorTest, RepeatedStartsReportOnceAndStopWithdrawsEverything)
{
    bt.add("AA:AA:AA:AA:AA:01", "Headphones", true, true);
    bt.add("AA:AA:AA:AA:AA:02", "Keyboard", true, false);
    apply();
    apply();
    apply();
    EXPECT_EQ(bt.registrationCount(), 2); // one connect, one disconnect watch

    bt.disconnect("AA:AA:AA:AA:AA:01");
    bt.connect("AA:AA:AA:AA:AA:02");
    apply();
    bt.disconnect("AA:AA:AA:AA:AA:02");
    EXPECT_EQ(drained(), (QStringList{"-Headphones", "+Keyboard", "-Keyboard"}));

    // A reconnect after a disconnect is watched again, once.
    events.clear();
    bt.connect("AA:AA:AA:AA:AA:01");
    bt.disconnect("AA:AA:AA:AA:AA:01");
    EXPECT_EQ(drained(), (QStringList{"+Headphones", "-Headphones"}));

    // Bluetooth turned off: nothing more, not even what was already on its way.
    events.clear();
    bt.connect("AA:AA:AA:AA:AA:01");
    monitor.stop();
    EXPECT_EQ(bt.registrationCount(), 0);
    bt.disconnect("AA:AA:AA:AA:AA:01");
    bt.connect("AA:AA:AA:AA:AA:02");
    EXPECT_TRUE(drained().isEmpty());
}

} // namespace
