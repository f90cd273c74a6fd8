#include "app/appfixture.h"
#include "app/statusitemcontroller.h"
#include "dbusmock.h"
#include "platform/linux/dbusmenutypes.h"
#include "platform/linux/desktopstatustray.h"
#include "platform/linux/statusnotifiertray.h"
#include "platform/linux/traymenuwindow.h"
#include "platform/linux/xembedtrayicon.h"
#include "support/privatebus.h"

#include <QDBusArgument>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPalette>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <xcb/xcb.h>

#include <cstdlib>
#include <QSignalSpy>
#include <QtEndian>

namespace {

using namespace platform::dbustray;

const QString Watcher = "org.kde.StatusNotifierWatcher";

// The desktop's side: a panel asking the icon over the bus, as a separate
// client would, without blocking the icon that answers on this thread.
class StatusTrayTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        if (!dbusmockInstalled())
            GTEST_SKIP() << "python3-dbusmock is not installed";
        ASSERT_TRUE(bus.isRunning());
        registerTypes();
    }

    bool startWatcher()
    {
        if (!bus.startMock({Watcher, "/StatusNotifierWatcher", Watcher}, Watcher))
            return false;
        return bus.call(Watcher, "/StatusNotifierWatcher", "org.freedesktop.DBus.Mock", "AddMethod",
                        {Watcher, "RegisterStatusNotifierItem", "s", "", ""})
                   .type()
            == QDBusMessage::ReplyMessage;
    }
    // The services the watcher was told about, in order.
    QStringList registered()
    {
        QStringList out;
        for (const QVariantList &args : bus.mockCalls(Watcher, "/StatusNotifierWatcher", "RegisterStatusNotifierItem"))
            out << args.value(0).toString();
        return out;
    }

    QDBusMessage ask(const QString &service, const QString &path, const QString &interface, const QString &method,
                     const QVariantList &args = {})
    {
        QDBusMessage msg = QDBusMessage::createMethodCall(service, path, interface, method);
        msg.setArguments(args);
        QDBusPendingCall pending = bus.connection("panel").asyncCall(msg, 5000);
        waitUntil([&] { return pending.isFinished(); }, 6000);
        return pending.reply();
    }
    QVariant property(const QString &service, const QString &path, const QString &interface, const QString &name)
    {
        const QDBusMessage reply = ask(service, path, "org.freedesktop.DBus.Properties", "Get", {interface, name});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    // The whole menu as the panel draws it: the root and its lines.
    MenuLayout layout(const QString &service, uint *revision = nullptr)
    {
        const QDBusMessage reply = ask(service, platform::StatusNotifierTray::MenuPath, "com.canonical.dbusmenu",
                                       "GetLayout", {0, -1, QStringList()});
        MenuLayout out;
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2) {
            ADD_FAILURE() << "GetLayout: " << reply.errorMessage().toStdString();
            return out;
        }
        if (revision)
            *revision = reply.arguments().at(0).toUInt();
        reply.arguments().at(1).value<QDBusArgument>() >> out;
        return out;
    }
    static QVariantMap line(const MenuLayout &menu, int index)
    {
        MenuLayout child;
        menu.children.value(index).variant().value<QDBusArgument>() >> child;
        EXPECT_EQ(child.id, index + 1);
        return child.properties;
    }
    void click(const QString &service, int id)
    {
        const QDBusMessage reply = ask(service, platform::StatusNotifierTray::MenuPath, "com.canonical.dbusmenu",
                                       "Event", {id, "clicked", QVariant::fromValue(QDBusVariant(0)), 0u});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }

    PrivateBus bus;
};

TEST_F(StatusTrayTest, ThePanelSeesTheIconAndTheMenuAndItsClicksComeBack)
{
    ASSERT_TRUE(startWatcher());
    settings().setLaunchAtLogin(false);
    platform::StatusNotifierTray tray(bus.connection("island"));
    StatusItemController item(&settings(), &tray);
    QSignalSpy quit(&item, &StatusItemController::quitRequested);
    QSignalSpy opening(&item, &StatusItemController::menuOpening);
    const QString service = tray.serviceName();
    ASSERT_TRUE(waitUntil([&] { return registered().contains(service); })) << "the watcher never heard of the icon";

    // The icon: a menu for every click, and the pill's pictures in network
    // byte order, each drawn at its own size.
    const QString sni = "org.kde.StatusNotifierItem";
    EXPECT_EQ(property(service, "/StatusNotifierItem", sni, "ItemIsMenu").toBool(), true);
    EXPECT_EQ(property(service, "/StatusNotifierItem", sni, "Menu").value<QDBusObjectPath>().path(), "/MenuBar");
    EXPECT_EQ(property(service, "/StatusNotifierItem", sni, "Status").toString(), "Active");
    Pixmaps pictures;
    property(service, "/StatusNotifierItem", sni, "IconPixmap").value<QDBusArgument>() >> pictures;
    QList<int> sides;
    for (const Pixmap &picture : pictures)
        sides << picture.width;
    EXPECT_EQ(sides, (QList<int>{16, 22, 24, 32, 40, 48, 64}));
    // Each pixel as alpha, red, green, blue, whatever the machine's own order.
    for (const Pixmap &picture : pictures) {
        const int side = picture.width;
        EXPECT_EQ(picture.height, side);
        const QImage drawn = StatusItemController::paintIcon(QGuiApplication::palette().color(QPalette::WindowText))
                                 .pixmap(QSize(side, side), 1.0)
                                 .toImage()
                                 .convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(picture.bytes.size(), side * side * 4);
        int differing = 0;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const QRgb pixel = drawn.pixel(x, y);
                const auto *sent = reinterpret_cast<const uchar *>(picture.bytes.constData()) + (y * side + x) * 4;
                differing += sent[0] != qAlpha(pixel) || sent[1] != qRed(pixel) || sent[2] != qGreen(pixel)
                    || sent[3] != qBlue(pixel);
            }
        }
        EXPECT_EQ(differing, 0) << side << " px";
    }

    // The menu, line by line.
    uint revision = 0;
    MenuLayout menu = layout(service, &revision);
    ASSERT_EQ(menu.children.size(), 7);
    EXPECT_EQ(line(menu, 0).value("label").toString(), "Settings…");
    Shortcut keys;
    line(menu, 0).value("shortcut").value<QDBusArgument>() >> keys;
    EXPECT_EQ(keys, (Shortcut{{"Control", "comma"}}));
    line(menu, 6).value("shortcut").value<QDBusArgument>() >> keys;
    EXPECT_EQ(keys, (Shortcut{{"Control", "Q"}}));
    EXPECT_EQ(line(menu, 3).value("type").toString(), "separator");
    EXPECT_EQ(line(menu, 4).value("label").toString(), "Launch at Login");
    EXPECT_EQ(line(menu, 4).value("toggle-type").toString(), "checkmark");
    EXPECT_EQ(line(menu, 4).value("toggle-state").toInt(), 0);
    EXPECT_EQ(line(menu, 6).value("label").toString(), "Quit Pavlet");

    // A click on Launch at Login ticks it in the menu the panel reads next.
    click(service, 5);
    ASSERT_TRUE(waitUntil([&] { return settings().launchAtLogin(); }));
    uint after = 0;
    menu = layout(service, &after);
    EXPECT_GT(after, revision);
    EXPECT_EQ(line(menu, 4).value("toggle-state").toInt(), 1);

    // Turned off elsewhere while the menu was shut: opening it reads the
    // setting again and says the panel must fetch the menu anew.
    settings().setLaunchAtLogin(false);
    QDBusMessage shown = ask(service, "/MenuBar", "com.canonical.dbusmenu", "AboutToShow", {0});
    ASSERT_EQ(shown.type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(opening.count(), 1);
    EXPECT_EQ(line(layout(service), 4).value("toggle-state").toInt(), 0);

    // A panel that asks the icon for its menu on a plain or middle click
    // gets it where it says.
    QSignalSpy asked(&tray, &platform::StatusNotifierTray::menuRequested);
    for (const char *click : {"Activate", "SecondaryActivate"})
        EXPECT_EQ(ask(service, "/StatusNotifierItem", sni, click, {12, 34}).type(), QDBusMessage::ReplyMessage);
    ASSERT_EQ(asked.count(), 2);
    EXPECT_EQ(asked.at(1).at(0).toPoint(), QPoint(12, 34));

    // A separator and an item that is not there do nothing; Quit quits.
    click(service, 4);
    const QDBusMessage missing = ask(service, "/MenuBar", "com.canonical.dbusmenu", "GetLayout", {42, -1, QStringList()});
    EXPECT_EQ(missing.type(), QDBusMessage::ErrorMessage);
    click(service, 7);
    EXPECT_TRUE(waitUntil([&] { return quit.count() == 1; }, 20000));
}

TEST_F(StatusTrayTest, APanelThatComesLaterGetsTheIconAndNoBusIsNoHarm)
{
    platform::StatusNotifierTray tray(bus.connection("island"));
    StatusItemController item(&settings(), &tray);
    // No status area yet: the icon waits on the bus.
    ASSERT_TRUE(startWatcher());
    EXPECT_TRUE(waitUntil([&] { return registered().contains(tray.serviceName()); }))
        << "the watcher that started later never heard of the icon";

    // Without any bus, the tray shows nothing and the menu still works.
    platform::StatusNotifierTray nowhere(QDBusConnection(QStringLiteral("no such connection")));
    StatusItemController lonely(&settings(), &nowhere);
    QSignalSpy open(&lonely, &StatusItemController::openSettingsRequested);
    lonely.choose(StatusItemController::SettingsLine);
    EXPECT_EQ(open.count(), 1);
}

// A tray that embeds X windows (trayer) on the test's X server, and the
// server as a desktop's other clients see it.
class XTray {
public:
    XTray() : m_conn(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_conn)).data->root;
        xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
            m_conn, xcb_intern_atom(m_conn, 0, 19, "_NET_SYSTEM_TRAY_S0"), nullptr);
        m_selection = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(atom);
    }
    ~XTray()
    {
        stop();
        xcb_disconnect(m_conn);
    }
    bool start()
    {
        m_trayer.start("trayer", {"--edge", "bottom", "--widthtype", "request", "--height", "48"});
        return waitUntil([&] { return owner() != XCB_WINDOW_NONE; }, 10000);
    }
    void stop()
    {
        m_trayer.kill();
        m_trayer.waitForFinished();
        waitUntil([&] { return owner() == XCB_WINDOW_NONE; });
    }
    xcb_window_t owner()
    {
        xcb_get_selection_owner_reply_t *r =
            xcb_get_selection_owner_reply(m_conn, xcb_get_selection_owner(m_conn, m_selection), nullptr);
        const xcb_window_t out = r ? r->owner : xcb_window_t(XCB_WINDOW_NONE);
        std::free(r);
        return out;
    }
    // Where a click on window lands in its middle; null when it is not shown
    // inside another window (the tray's).
    QPoint middleOf(xcb_window_t window)
    {
        xcb_query_tree_reply_t *tree = xcb_query_tree_reply(m_conn, xcb_query_tree(m_conn, window), nullptr);
        xcb_get_window_attributes_reply_t *attributes =
            xcb_get_window_attributes_reply(m_conn, xcb_get_window_attributes(m_conn, window), nullptr);
        xcb_get_geometry_reply_t *geometry = xcb_get_geometry_reply(m_conn, xcb_get_geometry(m_conn, window), nullptr);
        QPoint out;
        if (tree && attributes && geometry && tree->parent != m_root
            && attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
            xcb_translate_coordinates_reply_t *at = xcb_translate_coordinates_reply(
                m_conn,
                xcb_translate_coordinates(m_conn, window, m_root, qint16(geometry->width / 2),
                                          qint16(geometry->height / 2)),
                nullptr);
            if (at)
                out = QPoint(at->dst_x, at->dst_y);
            std::free(at);
        }
        std::free(tree);
        std::free(attributes);
        std::free(geometry);
        return out;
    }

    QSize sizeOf(xcb_window_t window)
    {
        xcb_get_geometry_reply_t *g = xcb_get_geometry_reply(m_conn, xcb_get_geometry(m_conn, window), nullptr);
        const QSize out = g ? QSize(g->width, g->height) : QSize();
        std::free(g);
        return out;
    }

private:
    xcb_connection_t *m_conn;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_selection = XCB_ATOM_NONE;
    QProcess m_trayer;
};

TEST_F(StatusTrayTest, WithoutAWatcherTheIconSitsInTheXTrayAndItsMenuWorks)
{
    if (QStandardPaths::findExecutable("trayer").isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "trayer or xdotool is not installed";
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs the xcb platform";
    XTray x;
    ASSERT_TRUE(x.start()) << "trayer never took the tray";
    settings().setLaunchAtLogin(false);
    platform::DesktopStatusTray tray(bus.connection("island"));
    StatusItemController item(&settings(), &tray);
    QSignalSpy quit(&item, &StatusItemController::quitRequested);
    QSignalSpy opening(&item, &StatusItemController::menuOpening);
    const auto icon = [&] { return tray.xembed() ? x.middleOf(tray.xembed()->windowId()) : QPoint(); };
    ASSERT_TRUE(waitUntil([&] { return !icon().isNull(); }, 20000)) << "the icon never showed in the tray";
    // Its slot as thick as the 48 px panel, and square.
    EXPECT_TRUE(waitUntil([&] {
        const QSize slot = x.sizeOf(tray.xembed()->windowId());
        return slot.width() >= 40 && slot.width() == slot.height();
    })) << x.sizeOf(tray.xembed()->windowId()).width() << "x" << x.sizeOf(tray.xembed()->windowId()).height();

    // A click on the icon opens the menu, read afresh, with the item's
    // lines; a click on a line reaches the item.
    const auto click = [](const QPoint &at) {
        QProcess::execute("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
    };
    // The tray lays its icons out again as they come: the click waits until
    // the icon stays put, and a click that a busy tray still let pass is
    // made again.
    const auto settledIcon = [&] {
        QPoint seen;
        QElapsedTimer since;
        since.start();
        waitUntil([&] {
            const QPoint now = icon();
            if (now != seen) {
                seen = now;
                since.restart();
            }
            return !seen.isNull() && since.elapsed() >= 200;
        }, 20000);
        return seen;
    };
    const auto openMenu = [&] {
        for (int attempt = 0; attempt < 3; ++attempt) {
            click(settledIcon());
            if (waitUntil([&] { return tray.menuWindow() && tray.menuWindow()->isExposed(); }, 8000))
                return true;
        }
        return false;
    };
    ASSERT_TRUE(openMenu()) << "no menu after a click on the icon";
    EXPECT_EQ(opening.count(), 1);
    // Beside the icon, above the tray's 48 px panel at the bottom edge.
    const QRect menu = tray.menuWindow()->geometry();
    EXPECT_LT(menu.bottom(), QGuiApplication::primaryScreen()->geometry().bottom() - 47) << menu.y();
    EXPECT_LT(std::abs(menu.center().x() - icon().x()), menu.width()) << menu.x();
    EXPECT_EQ(tray.menuWindow()->lines(), item.menu());
    const auto line = [&](int index) {
        return tray.menuWindow()->position() + tray.menuWindow()->lineRect(index).center();
    };
    click(line(StatusItemController::LoginLine));
    ASSERT_TRUE(waitUntil([&] { return settings().launchAtLogin(); }, 20000)) << "the line's click never arrived";
    EXPECT_FALSE(tray.menuWindow()->isVisible());
    ASSERT_TRUE(openMenu());
    EXPECT_TRUE(tray.menuWindow()->lines().at(StatusItemController::LoginLine).checked);
    click(line(StatusItemController::QuitLine));
    EXPECT_TRUE(waitUntil([&] { return quit.count() == 1; }, 20000));

    // A watcher takes the icon out of the X tray; when it goes, the icon
    // comes back, and into the next tray after a restart.
    QDBusConnection watcher = bus.connection("watcher");
    ASSERT_TRUE(watcher.registerService(Watcher));
    EXPECT_TRUE(waitUntil([&] { return tray.xembed()->windowId() == 0; })) << "still in the X tray beside a watcher";
    watcher.unregisterService(Watcher);
    EXPECT_TRUE(waitUntil([&] { return !icon().isNull(); })) << "not back in the X tray after the watcher left";
    x.stop();
    EXPECT_TRUE(waitUntil([&] { return tray.xembed()->windowId() == 0; })) << "left on the desktop by its tray";
    ASSERT_TRUE(x.start());
    EXPECT_TRUE(waitUntil([&] { return !icon().isNull(); }, 20000)) << "not in the restarted tray";
}

} // namespace
