#include "batterymonitor.h"
#include "fakenetwork.h"
#include "fakepowersupply.h"
#include "fakesystemload.h"
#include "networkstatus.h"
#include "systemmonitor.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TEST(BatteryMonitorTest, RefreshPublishesOnlyChangedReadings)
{
    FakePowerSupply supply;
    BatteryMonitor monitor(&supply);
    QSignalSpy changed(&monitor, &BatteryMonitor::batteryChanged);
    monitor.refresh();
    EXPECT_EQ(changed.count(), 0) << "no battery before, none now";
    supply.list = {{"BAT0", "Battery", "", 50, "Discharging"}};
    monitor.refresh();
    monitor.refresh();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(monitor.hasBattery());
    EXPECT_EQ(monitor.battery(), (BatteryInfo{50, false}));
    supply.list[0].capacity = 49;
    monitor.refresh();
    EXPECT_EQ(changed.count(), 2);
}

TEST(BatteryMonitorTest, PicksTheMachinesOwnBatteryOverPeripherals)
{
    FakePowerSupply supply;
    BatteryMonitor monitor(&supply);
    EXPECT_FALSE(monitor.read()) << "no sources";

    supply.list = {{"AC", "Mains", "", -1, ""}, {"hidpp_battery_0", "Battery", "Device", 40, "Discharging"}};
    EXPECT_FALSE(monitor.read()) << "a mouse battery is not the machine's";

    supply.list.append({"BAT0", "Battery", "", 83, "Charging"});
    EXPECT_EQ(monitor.read(), (BatteryInfo{83, true}));
    supply.list.last().status = "Full";
    supply.list.last().capacity = -1;
    EXPECT_EQ(monitor.read(), (BatteryInfo{0, false}));
}

class NetworkStatusTest : public ::testing::Test {
protected:
    FakeNetworkInterfaces interfaces;
    FakeWifiInfo wifi;
    FakeReachability reach;
    NetworkStatus status{&interfaces, &wifi, &reach};
};

TEST_F(NetworkStatusTest, PrefersWiredOrWirelessAddressesAndSkipsLoopbackByFlag)
{
    interfaces.addIPv4("lo", "127.0.0.1", true);
    interfaces.addIPv4("tun0", "10.8.0.2");
    interfaces.list.append({"enp3s0", false, false, "fe80::1"});
    interfaces.addIPv4("enp3s0", "192.168.1.20");
    EXPECT_EQ(status.primaryIPv4Address(), "192.168.1.20");

    interfaces.list.removeLast();
    EXPECT_EQ(status.primaryIPv4Address(), "10.8.0.2") << "a VPN-only machine uses the VPN address";

    interfaces.list = {};
    interfaces.addIPv4("lo", "127.0.0.1", true);
    interfaces.addIPv4("loopback-alias", "127.0.0.2", true);
    EXPECT_FALSE(status.primaryIPv4Address());

    for (const char *name : {"en0", "eth0", "eno1", "wlan0", "wlp2s0"})
        EXPECT_TRUE(NetworkStatus::isPreferredInterface(name)) << name;
    for (const char *name : {"tun0", "utun3", "docker0", "virbr0", "lo"})
        EXPECT_FALSE(NetworkStatus::isPreferredInterface(name)) << name;
}

TEST_F(NetworkStatusTest, SnapshotNamesTheNetwork)
{
    wifi.name = "Home";
    interfaces.addIPv4("wlan0", "192.168.1.7");
    EXPECT_EQ(status.snapshot(), (NetworkSnapshot{"Home", "192.168.1.7", true}));

    wifi.name.reset();
    EXPECT_EQ(status.snapshot().name, "Network");

    interfaces.list = {};
    interfaces.addIPv4("lo", "127.0.0.1", true);
    reach.reachable = false;
    EXPECT_EQ(status.snapshot(), (NetworkSnapshot{"Offline", "—", false}));

    reach.reachable = true;
    EXPECT_EQ(status.snapshot(), (NetworkSnapshot{"Network", "—", false}));
}

TEST(SystemMonitorTest, CpuLoadIsTheBusyShareSinceTheLastSample)
{
    FakeSystemLoad load;
    SystemMonitor monitor(&load);
    load.ticks = platform::CpuTicks{100, 50, 1000, 10};
    EXPECT_EQ(monitor.cpuPercent(), 0) << "first sample";
    load.ticks = platform::CpuTicks{200, 150, 1000, 10};
    EXPECT_EQ(monitor.cpuPercent(), 100);
    load.ticks = platform::CpuTicks{230, 150, 1070, 10};
    EXPECT_EQ(monitor.cpuPercent(), 30);
    EXPECT_EQ(monitor.cpuPercent(), 0) << "no time passed";
    load.ticks.reset();
    EXPECT_EQ(monitor.cpuPercent(), 0);
}

TEST(SystemMonitorTest, MemoryDiskAndUptimeTexts)
{
    FakeSystemLoad load;
    SystemMonitor monitor(&load);
    EXPECT_EQ(monitor.memoryPercent(), 0);
    EXPECT_EQ(monitor.diskFree(), "—");
    load.mem = platform::MemoryUse{3, 5};
    EXPECT_EQ(monitor.memoryPercent(), 38);
    load.mem = platform::MemoryUse{0, 0};
    EXPECT_EQ(monitor.memoryPercent(), 0);
    load.disk = 245'300'000'000ULL;
    EXPECT_EQ(monitor.diskFree(), "245.3 GB");

    const std::pair<qint64, const char *> uptimes[] = {
        {59, "0h 0m"}, {18420, "5h 7m"}, {86399, "23h 59m"}, {86400, "1d 0h"}, {3 * 86400 + 4 * 3600 + 59, "3d 4h"}};
    for (const auto &[seconds, text] : uptimes)
        EXPECT_EQ(SystemMonitor::formatUptime(seconds), text) << seconds;
    load.uptime = 86400.7;
    EXPECT_EQ(monitor.uptime(), "1d 0h");
}

} // namespace
