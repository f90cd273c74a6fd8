#include "dbusmock.h"
#include "platform/linux/sysfsbacklight.h"
#include "support/pavlettest.h"
#include "support/privatebus.h"

#include <QDBusArgument>
#include <QDir>
#include <QFile>
#include <QSignalSpy>

namespace {

class BacklightTest : public ::testing::Test {
protected:
    void addDevice(const QString &name, const QByteArray &type, qint64 max, qint64 value)
    {
        const QString dir = root() + "/" + name;
        QDir().mkpath(dir);
        write(dir + "/type", type + "\n");
        write(dir + "/max_brightness", QByteArray::number(max) + "\n");
        write(dir + "/brightness", QByteArray::number(value) + "\n");
    }
    static void write(const QString &path, const QByteArray &text)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QByteArray fileValue(const QString &name)
    {
        QFile f(root() + "/" + name + "/brightness");
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray();
    }
    QString root() const { return tmp.filePath("backlight"); }
    static QDBusConnection noBus() { return QDBusConnection::connectToBus("unix:path=/nonexistent", "no-bus"); }

    QTemporaryDir tmp;
};

TEST_F(BacklightTest, ReadsThePreferredDevice)
{
    platform::SysfsBacklight none(noBus(), root());
    EXPECT_EQ(none.brightness(), std::nullopt);
    EXPECT_FALSE(none.setBrightness(0.5));

    addDevice("broken", "firmware", 0, 0); // no range: not a device
    addDevice("intel_backlight", "raw", 1000, 250);
    platform::SysfsBacklight raw(noBus(), root());
    EXPECT_EQ(raw.device(), "intel_backlight");
    EXPECT_DOUBLE_EQ(*raw.brightness(), 0.25);

    addDevice("acpi_video0", "firmware", 15, 15);
    platform::SysfsBacklight preferred(noBus(), root());
    EXPECT_EQ(preferred.device(), "acpi_video0");
    EXPECT_DOUBLE_EQ(*preferred.brightness(), 1.0);
    write(root() + "/acpi_video0/brightness", "99\n"); // out of range
    EXPECT_DOUBLE_EQ(*preferred.brightness(), 1.0);
    write(root() + "/acpi_video0/brightness", "garbage");
    EXPECT_EQ(preferred.brightness(), std::nullopt);
}

TEST_F(BacklightTest, WritesDirectlyWithoutABus)
{
    addDevice("intel_backlight", "raw", 1000, 250);
    platform::SysfsBacklight backlight(noBus(), root());
    ASSERT_TRUE(backlight.setBrightness(0.5625));
    EXPECT_EQ(fileValue("intel_backlight"), "563");
    ASSERT_TRUE(backlight.setBrightness(1.7));
    EXPECT_EQ(fileValue("intel_backlight"), "1000");
}

class LogindBacklightTest : public BacklightTest {
protected:
    void SetUp() override
    {
        if (!dbusmockInstalled())
            GTEST_SKIP() << "python3-dbusmock is not installed";
        ASSERT_TRUE(bus.isRunning());
        ASSERT_TRUE(bus.startMock({"org.freedesktop.login1", session, "org.freedesktop.login1.Session"},
                                  "org.freedesktop.login1"));
        addDevice("intel_backlight", "raw", 1000, 250);
    }
    void addSetBrightness(const QString &code)
    {
        const QDBusMessage reply = bus.call("org.freedesktop.login1", session, "org.freedesktop.DBus.Mock",
                                            "AddMethod",
                                            {"org.freedesktop.login1.Session", "SetBrightness", "ssu", "", code});
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }

    const QString session = "/org/freedesktop/login1/session/auto";
    PrivateBus bus;
};

TEST_F(LogindBacklightTest, WritesThroughLogind)
{
    // This logind accepts the value and leaves the file alone, so the file
    // shows that nothing was written past it.
    addSetBrightness("");
    platform::SysfsBacklight backlight(bus.connection(), root());
    QSignalSpy written(&backlight, &platform::SysfsBacklight::written);
    ASSERT_TRUE(backlight.setBrightness(0.5));
    EXPECT_DOUBLE_EQ(*backlight.brightness(), 0.5); // reads back while logind works
    ASSERT_TRUE(written.wait(5000));
    EXPECT_TRUE(written.first().first().toBool());
    EXPECT_EQ(fileValue("intel_backlight"), "250");

    const QList<QVariantList> calls = bus.mockCalls("org.freedesktop.login1", session, "SetBrightness");
    ASSERT_EQ(calls.size(), 1);
    const QVariantList args = calls.first();
    EXPECT_EQ(args, (QVariantList{"backlight", "intel_backlight", 500u}));
}

TEST_F(LogindBacklightTest, FallsBackToTheFileWhenLogindRefuses)
{
    addSetBrightness("raise dbus.exceptions.DBusException('no session', name='org.freedesktop.login1.NoSessionForPID')");
    platform::SysfsBacklight backlight(bus.connection(), root());
    QSignalSpy written(&backlight, &platform::SysfsBacklight::written);
    ASSERT_TRUE(backlight.setBrightness(0.75));
    ASSERT_TRUE(written.wait(5000));
    EXPECT_TRUE(written.first().first().toBool());
    EXPECT_EQ(fileValue("intel_backlight"), "750");
    EXPECT_DOUBLE_EQ(*backlight.brightness(), 0.75);
}

} // namespace
