#include "platform/linux/procsystemload.h"
#include "platform/linux/sysfspowersupply.h"
#include "services/batterymonitor.h"
#include "services/systemmonitor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// One line per attribute file of a power supply folder.
void writeAttributes(const QTemporaryDir &root, const QString &device,
                     std::initializer_list<std::pair<const char *, const char *>> attributes)
{
    for (const auto &[name, value] : attributes)
        writeFile(root.filePath(device + "/" + name), QByteArray(value) + "\n");
}

TEST(SysfsPowerSupplyTest, ReadsAFixtureFolder)
{
    QTemporaryDir root;
    writeAttributes(root, "AC", {{"type", "Mains"}, {"online", "1"}});
    writeAttributes(root, "BAT0", {{"type", "Battery"}, {"capacity", "57"}, {"status", "Charging"}});
    writeAttributes(root, "hid-mouse", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "12"}});

    platform::SysfsPowerSupply supply(root.path());
    const auto sources = supply.sources();
    ASSERT_EQ(sources.size(), 3);
    EXPECT_EQ(sources[1], (platform::PowerSource{"BAT0", "Battery", "", 57, "Charging"}));
    EXPECT_EQ(BatteryMonitor(&supply).read(), (BatteryInfo{57, true}));

    // A second battery joins the first by stored energy.
    writeAttributes(root, "BAT0", {{"energy_now", "30000000"}, {"energy_full", "40000000"}});
    writeAttributes(root, "BAT1", {{"type", "Battery"}, {"capacity", "100"}, {"status", "Full"},
                                   {"energy_now", "20000000"}, {"energy_full", "20000000"}});
    EXPECT_EQ(supply.sources()[2].energyFull, 20000000);
    EXPECT_EQ(BatteryMonitor(&supply).read(), (BatteryInfo{83, true}));

    // A battery whose capacity cannot be read (a link to nothing, as a
    // failing driver leaves it) has no percentage, not 0%.
    QTemporaryDir unread;
    writeAttributes(unread, "BAT0", {{"type", "Battery"}, {"status", "Discharging"}});
    ASSERT_TRUE(QFile::link(unread.filePath("gone"), unread.filePath("BAT0/capacity")));
    platform::SysfsPowerSupply unreadSupply(unread.path());
    EXPECT_EQ(unreadSupply.sources().value(0).capacity, -1);
    EXPECT_EQ(BatteryMonitor(&unreadSupply).read(), (BatteryInfo{-1, false}));
    // Nor does one whose driver reports 250; its stored energy still counts.
    ASSERT_TRUE(QFile::remove(unread.filePath("BAT0/capacity")));
    writeFile(unread.filePath("BAT0/capacity"), "250\n");
    EXPECT_EQ(BatteryMonitor(&unreadSupply).read(), (BatteryInfo{-1, false}));
    writeAttributes(unread, "BAT0", {{"energy_now", "10"}, {"energy_full", "40"}});
    EXPECT_EQ(BatteryMonitor(&unreadSupply).read(), (BatteryInfo{25, false}));

    // A desktop: mains only, no backlight, no battery.
    QTemporaryDir desktop;
    writeFile(desktop.filePath("AC/type"), "Mains\n");
    platform::SysfsPowerSupply desktopSupply(desktop.path());
    EXPECT_FALSE(BatteryMonitor(&desktopSupply).read());
    platform::SysfsPowerSupply missing(desktop.filePath("nothing-here"));
    EXPECT_TRUE(missing.sources().isEmpty());
}

TEST(ProcSystemLoadTest, ReadsProcFixtures)
{
    QTemporaryDir proc;
    writeFile(proc.filePath("stat"), "cpu  100 5 50 1000 20 1 2 3 0 0\ncpu0 50 2 25 500 10 0 1 1 0 0\n");
    writeFile(proc.filePath("meminfo"), "MemTotal:       16000000 kB\nMemFree:         1000000 kB\n"
                                        "MemAvailable:    6000000 kB\nBuffers:          100 kB\n");
    writeFile(proc.filePath("uptime"), "18420.55 70000.00\n");
    platform::ProcSystemLoad load(proc.path(), proc.path());

    EXPECT_EQ(load.cpuTicks(), (platform::CpuTicks{100, 56, 1020, 5}));
    EXPECT_EQ(load.memory(), (platform::MemoryUse{10000000, 6000000}));
    EXPECT_EQ(load.uptimeSeconds(), 18420.55);
    EXPECT_TRUE(load.diskAvailableBytes());

    SystemMonitor monitor(&load);
    EXPECT_EQ(monitor.memoryPercent(), 63);
    EXPECT_EQ(monitor.uptime(), "5h 7m");

    writeFile(proc.filePath("uptime"), "1e300 0\n");
    EXPECT_EQ(monitor.uptime(), "0h 0m");
    writeFile(proc.filePath("uptime"), "inf 0\n");
    EXPECT_FALSE(load.uptimeSeconds());

    writeFile(proc.filePath("stat"), "intr 1 2 3\n");
    writeFile(proc.filePath("meminfo"), "MemTotal: 100 kB\n");
    EXPECT_FALSE(load.cpuTicks());
    EXPECT_FALSE(load.memory());
    platform::ProcSystemLoad nothing(proc.filePath("missing"), proc.filePath("missing"));
    EXPECT_FALSE(nothing.uptimeSeconds());
    EXPECT_FALSE(nothing.diskAvailableBytes());
    EXPECT_EQ(SystemMonitor(&nothing).snapshot(), (SystemSnapshot{0, 0, "—", "0h 0m"}));
}

} // namespace
