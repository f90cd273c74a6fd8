#include "dbusmock.h"
#include "platform/linux/powerprofileslowpowermode.h"
#include "services/powermodemonitor.h"
#include "support/pavlettest.h"
#include "support/privatebus.h"

#include <QDBusVariant>
#include <QSignalSpy>

namespace {

class PowerProfilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!dbusmockInstalled())
            GTEST_SKIP() << "python3-dbusmock is not installed";
        ASSERT_TRUE(bus.isRunning());
    }
    void setProfile(const QString &service, const QString &path, const QString &profile)
    {
        const QDBusMessage reply = bus.call(service, path, "org.freedesktop.DBus.Properties", "Set",
                                            {service, "ActiveProfile", QVariant::fromValue(QDBusVariant(profile))});
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }
    static void settle(int ms) { waitUntil([] { return false; }, ms); }

    PrivateBus bus;
};

TEST_F(PowerProfilesTest, PowerSaverIsLowPowerMode)
{
    ASSERT_TRUE(bus.startTemplate("power_profiles_daemon", "net.hadess.PowerProfiles"));
    platform::PowerProfilesLowPowerMode mode(bus.connection());
    ASSERT_TRUE(waitUntil([&] { return mode.isReady(); }));
    EXPECT_EQ(mode.activeProfile(), "balanced");

    PowerModeMonitor monitor(&mode);
    QList<bool> changes;
    QObject::connect(&monitor, &PowerModeMonitor::lowPowerModeChanged, [&](bool on) { changes << on; });
    monitor.start();
    EXPECT_FALSE(monitor.isLowPowerModeEnabled());

    setProfile("net.hadess.PowerProfiles", "/net/hadess/PowerProfiles", "power-saver");
    ASSERT_TRUE(waitUntil([&] { return changes.size() == 1; }));
    EXPECT_TRUE(monitor.isLowPowerModeEnabled());
    setProfile("net.hadess.PowerProfiles", "/net/hadess/PowerProfiles", "performance");
    ASSERT_TRUE(waitUntil([&] { return changes.size() == 2; }));
    // Between two ordinary profiles Low Power Mode does not change.
    setProfile("net.hadess.PowerProfiles", "/net/hadess/PowerProfiles", "balanced");
    ASSERT_TRUE(waitUntil([&] { return mode.activeProfile() == "balanced"; }));
    settle(200);
    EXPECT_EQ(changes, (QList<bool>{true, false}));

    // The daemon killed and back in power-saver: the mode is unknown meanwhile
    // and neither is a change; a real change after its return is.
    setProfile("net.hadess.PowerProfiles", "/net/hadess/PowerProfiles", "power-saver");
    ASSERT_TRUE(waitUntil([&] { return changes.size() == 3; }));
    bus.killMocks();
    ASSERT_TRUE(waitUntil([&] { return !mode.isLowPowerModeKnown(); })) << mode.activeProfile().toStdString();
    EXPECT_TRUE(monitor.isLowPowerModeEnabled());
    ASSERT_TRUE(bus.startTemplate("power_profiles_daemon", "net.hadess.PowerProfiles",
                                  R"({"ActiveProfile": "power-saver"})"));
    ASSERT_TRUE(waitUntil([&] { return mode.isLowPowerModeKnown(); }));
    EXPECT_EQ(mode.activeProfile(), "power-saver");
    setProfile("net.hadess.PowerProfiles", "/net/hadess/PowerProfiles", "balanced");
    ASSERT_TRUE(waitUntil([&] { return changes.size() == 4; }));
    EXPECT_EQ(changes, (QList<bool>{true, false, true, false}));
}

TEST_F(PowerProfilesTest, NewerDaemonNameIsAskedFirst)
{
    ASSERT_TRUE(bus.startTemplate("power_profiles_daemon", "net.hadess.PowerProfiles"));
    const QString name = "org.freedesktop.UPower.PowerProfiles";
    const QString path = "/org/freedesktop/UPower/PowerProfiles";
    ASSERT_TRUE(bus.startMock({name, path, name}, name));
    const QDBusMessage added = bus.call(name, path, "org.freedesktop.DBus.Mock", "AddProperty",
                                        {name, "ActiveProfile", QVariant::fromValue(QDBusVariant("power-saver"))});
    ASSERT_EQ(added.type(), QDBusMessage::ReplyMessage) << added.errorMessage().toStdString();

    platform::PowerProfilesLowPowerMode mode(bus.connection());
    ASSERT_TRUE(waitUntil([&] { return mode.isReady(); }));
    EXPECT_EQ(mode.activeProfile(), "power-saver");
    EXPECT_TRUE(mode.isLowPowerModeEnabled());

    QSignalSpy changed(&mode, &platform::ILowPowerMode::powerStateChanged);
    setProfile(name, path, "balanced");
    ASSERT_TRUE(waitUntil([&] { return changed.count() == 1; }));
    EXPECT_FALSE(mode.isLowPowerModeEnabled());
}

TEST_F(PowerProfilesTest, NoDaemonIsNeverLowPower)
{
    platform::PowerProfilesLowPowerMode mode(bus.connection());
    ASSERT_TRUE(waitUntil([&] { return mode.isReady(); }));
    EXPECT_EQ(mode.activeProfile(), "");
    EXPECT_FALSE(mode.isLowPowerModeEnabled());
}

} // namespace
