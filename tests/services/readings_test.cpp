#include "fakes/fakenetwork.h"
#include "fakes/fakepowersupply.h"
#include "fakes/fakesystemload.h"
#include "services/batterymonitor.h"
#include "services/networkstatus.h"
#include "services/systemmonitor.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <limits>

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
    EXPECT_EQ(monitor.read(), (BatteryInfo{-1, false})) << "a percentage not known is not 0%";
}

TEST(BatteryMonitorTest, CombinesEveryBatteryOfTheMachine)
{
    using platform::PowerSource;
    const PowerSource mouse{"hidpp_battery_0", "Battery", "Device", 5, "Charging", 1000, 20000};
    struct Case {
        const char *name;
        QList<PowerSource> list;
        BatteryInfo expect;
    };
    const Case cases[] = {
        {"energy summed: a full first battery and a low second one",
         {{"BAT0", "Battery", "", 100, "Not charging", 50'000'000, 50'000'000},
          {"BAT1", "Battery", "", 20, "Discharging", 4'000'000, 20'000'000},
          mouse},
         {77, false}},
        {"charging when any one charges",
         {{"BAT0", "Battery", "", 100, "Full", 50'000'000, 50'000'000},
          {"BAT1", "Battery", "", 20, "Charging", 4'000'000, 20'000'000}},
         {77, true}},
        {"charge when energy is not reported",
         {{"BAT0", "Battery", "", 90, "Discharging", -1, -1, 1'800'000, 2'000'000},
          {"BAT1", "Battery", "", 10, "Discharging", -1, -1, 600'000, 6'000'000}},
         {30, false}},
        {"mean of the percentages without amounts",
         {{"BAT0", "Battery", "", 100, "Discharging"}, {"BAT1", "Battery", "", 41, "Discharging"}},
         {71, false}},
    };
    for (const Case &c : cases) {
        FakePowerSupply supply;
        supply.list = c.list;
        EXPECT_EQ(BatteryMonitor(&supply).read(), c.expect) << c.name;
    }
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
    EXPECT_EQ(monitor.cpuPercent(), 30) << "no tick passed: unchanged";
    load.ticks.reset();
    EXPECT_EQ(monitor.cpuPercent(), 0);
}

TEST(SystemMonitorTest, CountersGoingBackwardsNeitherEmptyNorFillTheLoad)
{
    FakeSystemLoad load;
    SystemMonitor monitor(&load);
    struct Step {
        platform::CpuTicks ticks;
        int expect;
        const char *why;
    };
    const Step steps[] = {
        {{100, 50, 1000, 10}, 0, "first sample"},
        {{125, 50, 1075, 10}, 25, "a quarter busy"},
        {{125, 50, 1070, 10}, 25, "idle went back, nothing else moved: unchanged"},
        {{150, 50, 1145, 10}, 25, "measured from the lower idle count, not wrapped"},
        {{160, 40, 1200, 10}, 15, "system went back: counts as no busy time"},
        {{160, 40, 1200, 10}, 15, "no tick at all: unchanged"},
    };
    for (const Step &s : steps) {
        load.ticks = s.ticks;
        EXPECT_EQ(monitor.cpuPercent(), s.expect) << s.why;
    }
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
    // Readings no count of seconds can hold are no reading.
    for (double absurd : {1e300, 9.3e18, -5.0, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity()}) {
        load.uptime = absurd;
        EXPECT_EQ(monitor.uptime(), "0h 0m") << absurd;
    }
}

} // namespace
