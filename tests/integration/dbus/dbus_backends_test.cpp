#include "dbusmock.h"
#include "platform/linux/linuxnetwork.h"
#include "platform/linux/screensaverinhibitor.h"
#include "services/keepawake.h"
#include "support/patience.h"
#include "support/pavlettest.h"
#include "support/privatebus.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QSignalSpy>
#include <QTest>

namespace {

// One method of a dbusmock object: interface, name, in and out signatures
// and code. Only needed to pass an empty list.
struct MockMethod {
    QString interface, name, in, out;
};
QDBusArgument &operator<<(QDBusArgument &arg, const MockMethod &m)
{
    arg.beginStructure();
    arg << m.interface << m.name << m.in << m.out;
    arg.endStructure();
    return arg;
}
const QDBusArgument &operator>>(const QDBusArgument &arg, MockMethod &m)
{
    arg.beginStructure();
    arg >> m.interface >> m.name >> m.in >> m.out;
    arg.endStructure();
    return arg;
}

QVariant objectPaths(const QStringList &paths)
{
    QList<QDBusObjectPath> list;
    for (const QString &p : paths)
        list.append(QDBusObjectPath(p));
    return QVariant::fromValue(QDBusVariant(QVariant::fromValue(list)));
}

// NetworkManager's objects as a client sees them, built on a generic mock.
class NetworkManagerMock {
public:
    explicit NetworkManagerMock(PrivateBus &bus) : m_bus(bus) {}

    bool start()
    {
        qDBusRegisterMetaType<MockMethod>();
        qDBusRegisterMetaType<QList<MockMethod>>();
        return m_bus.startMock({Service, ManagerPath, Service}, Service)
            && mock(ManagerPath, "AddProperty", {Service, "ActiveConnections", objectPaths({})});
    }
    bool addObject(const QString &path, const QString &interface, const QVariantMap &props)
    {
        return mock(ManagerPath, "AddObject",
                    {path, interface, props, QVariant::fromValue(QList<MockMethod>{})});
    }
    bool setActiveConnections(const QStringList &paths)
    {
        const QDBusMessage r = m_bus.call(Service, ManagerPath, "org.freedesktop.DBus.Properties", "Set",
                                          {Service, "ActiveConnections", objectPaths(paths)});
        return r.type() == QDBusMessage::ReplyMessage;
    }

    static inline const QString Service = "org.freedesktop.NetworkManager";
    static inline const QString ManagerPath = "/org/freedesktop/NetworkManager";

private:
    bool mock(const QString &path, const QString &method, const QVariantList &args)
    {
        const QDBusMessage r = m_bus.call(Service, path, "org.freedesktop.DBus.Mock", method, args);
        if (r.type() != QDBusMessage::ReplyMessage)
            qWarning() << method << r.errorMessage();
        return r.type() == QDBusMessage::ReplyMessage;
    }
    PrivateBus &m_bus;
};

TEST(NetworkManagerWifiTest, ReadsTheActiveAccessPointsName)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    platform::NetworkManagerWifi wifi(bus.connection(), 0);
    EXPECT_FALSE(wifi.ssid());
    waitUntil([] { return false; }, 200);
    EXPECT_FALSE(wifi.ssid()) << "no NetworkManager on the bus";

    NetworkManagerMock nm(bus);
    ASSERT_TRUE(nm.start());
    const QString ap = "/org/freedesktop/NetworkManager/AccessPoint/1";
    ASSERT_TRUE(nm.addObject(ap, "org.freedesktop.NetworkManager.AccessPoint",
                             {{"Ssid", QByteArray("Café Wi-Fi")}, {"Strength", QVariant::fromValue(uchar(80))}}));
    const QString vpn = "/org/freedesktop/NetworkManager/ActiveConnection/1";
    ASSERT_TRUE(nm.addObject(vpn, "org.freedesktop.NetworkManager.Connection.Active",
                             {{"Type", "vpn"}, {"State", 2u}, {"SpecificObject", QVariant::fromValue(QDBusObjectPath(ap))}}));
    const QString joining = "/org/freedesktop/NetworkManager/ActiveConnection/2";
    ASSERT_TRUE(nm.addObject(joining, "org.freedesktop.NetworkManager.Connection.Active",
                             {{"Type", "802-11-wireless"}, {"State", 1u},
                              {"SpecificObject", QVariant::fromValue(QDBusObjectPath(ap))}}));
    const QString joined = "/org/freedesktop/NetworkManager/ActiveConnection/3";
    ASSERT_TRUE(nm.addObject(joined, "org.freedesktop.NetworkManager.Connection.Active",
                             {{"Type", "802-11-wireless"}, {"State", 2u},
                              {"SpecificObject", QVariant::fromValue(QDBusObjectPath(ap))}}));

    // A VPN and a Wi-Fi connection still being set up give no name.
    ASSERT_TRUE(nm.setActiveConnections({vpn, joining}));
    EXPECT_TRUE(waitUntil([&] { wifi.refresh(); return !wifi.ssid().has_value(); }, 2000));
    waitUntil([] { return false; }, 200);
    EXPECT_FALSE(wifi.ssid());

    ASSERT_TRUE(nm.setActiveConnections({vpn, joining, joined}));
    EXPECT_TRUE(waitUntil([&] { return wifi.ssid() == QString("Café Wi-Fi"); }, 5000));

    ASSERT_TRUE(nm.setActiveConnections({}));
    EXPECT_TRUE(waitUntil([&] { return !wifi.ssid().has_value(); }, 5000));
}

class ScreenSaverTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        ASSERT_TRUE(bus.isRunning());
    }
    bool startScreenSaver(const QString &inhibitCode)
    {
        if (!bus.startMock({service, path, service}, service))
            return false;
        const QDBusMessage a = bus.call(service, path, "org.freedesktop.DBus.Mock", "AddMethod",
                                        {service, "Inhibit", "ss", "u", inhibitCode});
        const QDBusMessage b = bus.call(service, path, "org.freedesktop.DBus.Mock", "AddMethod",
                                        {service, "UnInhibit", "u", "", ""});
        return a.type() == QDBusMessage::ReplyMessage && b.type() == QDBusMessage::ReplyMessage;
    }

    PrivateBus bus;
    const QString service = "org.freedesktop.ScreenSaver";
    const QString path = "/org/freedesktop/ScreenSaver";
};

TEST_F(ScreenSaverTest, KeepAwakeHoldsAndReleasesTheInhibitCookie)
{
    ASSERT_TRUE(startScreenSaver("ret = 42"));
    platform::ScreenSaverInhibitor inhibitor(bus.connection());
    KeepAwake awake(&inhibitor);
    awake.toggle();
    ASSERT_TRUE(waitUntil([&] { return awake.isOn(); })) << "on once the screen saver answered";
    EXPECT_EQ(awake.assertionID(), 42u);
    auto calls = bus.mockCalls(service, path);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].first, "Inhibit");
    EXPECT_EQ(calls[0].second, (QVariantList{"Pavlet", "Pavlet keep awake"}));

    awake.toggle();
    EXPECT_FALSE(awake.isOn());
    EXPECT_EQ(awake.assertionID(), 0u);
    EXPECT_TRUE(waitUntil([&] {
        calls = bus.mockCalls(service, path);
        return calls.size() == 2;
    }));
    EXPECT_EQ(calls[1].first, "UnInhibit");
    EXPECT_EQ(calls[1].second.value(0).toUInt(), 42u);
}

TEST_F(ScreenSaverTest, AFailedInhibitLeavesKeepAwakeOff)
{
    platform::ScreenSaverInhibitor nobody(bus.connection());
    KeepAwake awake(&nobody);
    QSignalSpy changed(&awake, &KeepAwake::isOnChanged);
    awake.toggle();
    EXPECT_TRUE(Patience::until([&] { return awake.failed(); }, 2000)) << "no answer from the bus";
    EXPECT_FALSE(awake.isOn()) << "no screen saver on the bus";

    ASSERT_TRUE(startScreenSaver("raise dbus.exceptions.DBusException('refused', name='org.example.Refused')"));
    awake.toggle();
    EXPECT_TRUE(waitUntil([&] { return bus.mockCalls(service, path).size() == 1; }));
    EXPECT_TRUE(Patience::until([&] { return awake.failed(); }, 2000)) << "the refusal never came back";
    EXPECT_FALSE(awake.isOn());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(awake.assertionID(), 0u);
}

} // namespace

namespace {

// logind's inhibitors as (what, who, why, mode).
QList<QStringList> logindInhibitors(PrivateBus &bus)
{
    QList<QStringList> out;
    const QDBusMessage reply = bus.call("org.freedesktop.login1", "/org/freedesktop/login1",
                                        "org.freedesktop.login1.Manager", "ListInhibitors");
    if (reply.type() != QDBusMessage::ReplyMessage)
        return out;
    const QDBusArgument arg = reply.arguments().value(0).value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        QString what, who, why, mode;
        uint uid = 0, pid = 0;
        arg.beginStructure();
        arg >> what >> who >> why >> mode >> uid >> pid;
        arg.endStructure();
        out.append({what, who, why, mode});
    }
    arg.endArray();
    return out;
}

} // namespace

// Without a screen saver service (a plain window manager) the machine is
// kept awake by an idle lock of logind's, held until turned off; with
// neither, keep-awake stays off and says it failed.
TEST_F(ScreenSaverTest, WithoutAScreenSaverLogindsIdleLockKeepsTheMachineAwake)
{
    if (!dbusmockInstalled())
        GTEST_SKIP() << "python3-dbusmock is not installed";
    {
        platform::ScreenSaverInhibitor neither(bus.connection(), bus.connection());
        KeepAwake awake(&neither);
        awake.toggle();
        ASSERT_TRUE(waitUntil([&] { return awake.failed(); }, 4000));
        EXPECT_FALSE(awake.isOn());
    }

    ASSERT_TRUE(bus.startTemplate("logind", "org.freedesktop.login1"));
    platform::ScreenSaverInhibitor inhibitor(bus.connection(), bus.connection());
    KeepAwake awake(&inhibitor);
    awake.toggle();
    ASSERT_TRUE(waitUntil([&] { return awake.isOn(); }, 4000));
    EXPECT_FALSE(awake.failed());
    EXPECT_EQ(logindInhibitors(bus), (QList<QStringList>{{"idle", "Pavlet", "Pavlet keep awake", "block"}}));
    // The lock lasts while it is held, not just for the call.
    QTest::qWait(300);
    EXPECT_EQ(logindInhibitors(bus).size(), 1);

    awake.toggle();
    EXPECT_FALSE(awake.isOn());
    EXPECT_TRUE(waitUntil([&] { return logindInhibitors(bus).isEmpty(); }, 4000)) << "released with its descriptor";
}
