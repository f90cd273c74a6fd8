#include "core/userdefaults.h"
#include "island/islandmetrics.h"
#include "support/patience.h"
#include "support/privatebus.h"
#include "support/screenshots.h"
#include "xsession.h"

#include <QCoreApplication>
#include <QDBusVariant>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {

// The collapsed island the test's settings give on the 1512-wide screen: the
// plain notch with the least drop, at the top centre.
const int lipWidth = int(IslandMetrics::plainNotch.width());
const int lipHeight = int(IslandMetrics::plainNotch.height() + IslandMetrics::minDrop);
const int lipLeft = 756 - lipWidth / 2;

struct Geometry {
    int x = -1, y = -1, w = -1, h = -1;
};

Geometry geometryOf(const XSession &x, quint64 id)
{
    const QString out = x.run("xwininfo", {"-id", QString::number(id)});
    Geometry g;
    for (const QString &line : out.split('\n')) {
        const QString v = line.section(':', 1).trimmed();
        if (line.contains("Absolute upper-left X"))
            g.x = v.toInt();
        else if (line.contains("Absolute upper-left Y"))
            g.y = v.toInt();
        else if (line.trimmed().startsWith("Width"))
            g.w = v.toInt();
        else if (line.trimmed().startsWith("Height"))
            g.h = v.toInt();
    }
    return g;
}

// An ordinary managed window of the test's own, or a 32 px dock along the
// top edge that keeps its room from other windows.
class PlainWindow {
public:
    explicit PlainWindow(const QString &display, bool dock = false)
    {
        m_conn = xcb_connect(display.toLatin1().constData(), nullptr);
        xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_conn)).data;
        m_id = xcb_generate_id(m_conn);
        const quint32 values[] = {screen->white_pixel};
        xcb_create_window(m_conn, XCB_COPY_FROM_PARENT, m_id, screen->root, 0, 0, 1512, dock ? 32 : 600, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, values);
        auto atom = [&](const char *name) {
            auto *r = xcb_intern_atom_reply(m_conn, xcb_intern_atom(m_conn, 0, quint16(strlen(name)), name), nullptr);
            const xcb_atom_t a = r->atom;
            free(r);
            return a;
        };
        const quint32 strut[12] = {0, 0, 32, 0, 0, 0, 0, 0, 0, 1511, 0, 0}, hints[18] = {1 | 4, 0, 0, 1512, 32};
        const xcb_atom_t type = atom("_NET_WM_WINDOW_TYPE_DOCK");
        if (dock) {
            xcb_change_property(m_conn, 0, m_id, atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1, &type);
            xcb_change_property(m_conn, 0, m_id, atom("_NET_WM_STRUT_PARTIAL"), XCB_ATOM_CARDINAL, 32, 12, strut);
            xcb_change_property(m_conn, 0, m_id, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
        }
        const char title[] = "plain window";
        xcb_change_property(m_conn, XCB_PROP_MODE_REPLACE, m_id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                            sizeof title - 1, title);
        xcb_map_window(m_conn, m_id);
        xcb_flush(m_conn);
    }
    ~PlainWindow() { xcb_disconnect(m_conn); }
    quint64 id() const { return m_id; }

private:
    xcb_connection_t *m_conn;
    xcb_window_t m_id;
};

class IslandWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x.isRunning());
        prepareHome(home.path());
    }

    static void prepareHome(const QString &base)
    {
        const QDir home(base);
        for (const char *d : {"config/pavlet", "data", "cache", "runtime", "tmp"})
            QDir().mkpath(home.filePath(d));
        QFile::setPermissions(home.filePath("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        // A hanging island under the plain notch with the least drop, with
        // well-rounded bottom corners.
        UserDefaults d(home.filePath("config/pavlet/defaults.json"));
        d.setBool("floatingIsland", false);
        d.setDouble("lipEar", 0);
        d.setDouble("lipDrop", 2);
        d.setDouble("lipCornerRadius", 16);
        d.setBool("permissionsSetupCompleted", true);
        // Every module shown, game mode among them.
        d.setString("disabledModules", "");
        for (const char *pass : {"pavlet.optInModules.v1", "pavlet.libraryModules.v1", "pavlet.shippedGames.v1"})
            d.setBool(pass, true);
    }

    QProcess *launch() { return x.start(PAVLET_BINARY, {}, x.environment(home.path())); }

    XSession x;
    QTemporaryDir home;
};

} // namespace

TEST_F(IslandWindowTest, IslandSitsAtTheTopCentreAboveOtherWindowsWithoutDecoration)
{
    ASSERT_TRUE(x.startWindowManager());
    ASSERT_TRUE(launch());
    const quint64 island = x.findWindow("Pavlet Island");
    ASSERT_NE(island, 0u);
    QThread::msleep(500);
    const Geometry g = geometryOf(x, island);
    EXPECT_EQ(g.x, lipLeft);
    EXPECT_EQ(g.y, 0);
    EXPECT_EQ(g.w, lipWidth);
    EXPECT_EQ(g.h, lipHeight);

    const QString state = x.run("xprop", {"-id", QString::number(island), "_NET_WM_STATE", "_NET_WM_DESKTOP",
                                          "_NET_FRAME_EXTENTS"});
    EXPECT_TRUE(state.contains("_NET_WM_STATE_SKIP_TASKBAR")) << state.toStdString();
    EXPECT_TRUE(state.contains("_NET_WM_STATE_SKIP_PAGER")) << state.toStdString();
    EXPECT_TRUE(state.contains("_NET_WM_STATE_ABOVE")) << state.toStdString();
    EXPECT_TRUE(state.contains("_NET_WM_DESKTOP(CARDINAL) = 4294967295")) << state.toStdString();
    // No title bar or border from the window manager.
    EXPECT_TRUE(state.contains("_NET_FRAME_EXTENTS(CARDINAL) = 0, 0, 0, 0")) << state.toStdString();

    // An ordinary window, activated over it, stays below the island.
    PlainWindow plain(x.display());
    const quint64 other = x.findWindow("plain window");
    ASSERT_NE(other, 0u);
    x.run("xdotool", {"windowactivate", "--sync", QString::number(other)});
    QThread::msleep(300);
    const QString stacking = x.run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"});
    const QStringList ids = stacking.section('#', 1).split(',', Qt::SkipEmptyParts);
    auto indexOf = [&](quint64 id) {
        for (int i = 0; i < ids.size(); ++i) {
            if (ids.at(i).trimmed().toULongLong(nullptr, 16) == id)
                return i;
        }
        return -1;
    };
    ASSERT_GE(indexOf(other), 0) << stacking.toStdString();
    EXPECT_GT(indexOf(island), indexOf(other)) << stacking.toStdString();
    // The island's pixels are on top of the white window.
    const QImage shot = x.screenshot();
    EXPECT_EQ(shot.pixelColor(756, 10).rgb(), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixelColor(100, 300).rgb(), qRgb(255, 255, 255));

    // A dock started after it along the top edge shows beside the island,
    // not over it.
    PlainWindow dock(x.display(), true);
    EXPECT_TRUE(Patience::until([&] {
        const QImage s = x.screenshot();
        return s.pixelColor(100, 10).rgb() == qRgb(255, 255, 255) && s.pixelColor(756, 10).rgb() == qRgb(0, 0, 0);
    }, 10000)) << "the dock covers the island";
    // Raised ten times 40 ms apart, faster than the island answers: the
    // island still ends on top.
    for (int i = 0; i < 10; ++i) {
        x.run("xdotool", {"windowraise", QString::number(dock.id())});
        QThread::msleep(40);
    }
    EXPECT_TRUE(Patience::until([&] { return x.screenshot().pixelColor(756, 10).rgb() == qRgb(0, 0, 0); }, 5000))
        << "the dock stays over the island";
}

namespace {
void expectDesktopAroundTheOutline(XSession &x)
{
    const QImage shot = x.screenshot();
    ASSERT_FALSE(shot.isNull());
    // The desktop as it shows far from the island (a compositor may draw it
    // in its own colour).
    const QRgb desktop = shot.pixelColor(100, 500).rgb();
    EXPECT_NE(desktop, qRgb(0, 0, 0));
    // The island spans lipLeft and lipWidth across, lipHeight down, with
    // rounded bottom corners.
    const int right = lipLeft + lipWidth - 1, bottom = lipHeight - 1;
    EXPECT_EQ(shot.pixelColor(756, 20).rgb(), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixelColor(lipLeft + 6, 5).rgb(), qRgb(0, 0, 0)); // square top corner
    EXPECT_EQ(shot.pixelColor(lipLeft + 1, bottom - 1).rgb(), desktop); // cut bottom-left corner
    EXPECT_EQ(shot.pixelColor(right - 1, bottom - 1).rgb(), desktop);   // cut bottom-right corner
    EXPECT_EQ(shot.pixelColor(756, bottom + 3).rgb(), desktop);         // just below
    EXPECT_EQ(shot.pixelColor(lipLeft - 3, 10).rgb(), desktop);         // just left
}
} // namespace

TEST_F(IslandWindowTest, DesktopShowsOutsideTheOutlineWithoutACompositor)
{
    ASSERT_TRUE(x.startWindowManager());
    x.paintDesktop(0xff00ff);
    ASSERT_TRUE(launch());
    ASSERT_NE(x.findWindow("Pavlet Island"), 0u);
    QThread::msleep(800);
    expectDesktopAroundTheOutline(x);
}

TEST_F(IslandWindowTest, DesktopShowsOutsideTheOutlineWithACompositor)
{
    ASSERT_TRUE(x.startWindowManager());
    x.paintDesktop(0xff00ff);
    ASSERT_TRUE(x.startCompositor());
    ASSERT_TRUE(launch());
    ASSERT_NE(x.findWindow("Pavlet Island"), 0u);
    QThread::msleep(1200);
    expectDesktopAroundTheOutline(x);
}

TEST_F(IslandWindowTest, ACompositorNeitherDimsNorShadesTheIsland)
{
    ASSERT_TRUE(x.startWindowManager());
    x.paintDesktop(0xff00ff);
    // Shadows for every window and inactive windows at 80 %.
    ASSERT_TRUE(x.startCompositor({"--shadow", "--shadow-radius", "12", "--shadow-opacity", "0.8",
                                   "--inactive-opacity", "0.8"}));
    ASSERT_TRUE(launch());
    const quint64 island = x.findWindow("Pavlet Island");
    ASSERT_NE(island, 0u);
    QThread::msleep(1200);
    const QImage shot = x.screenshot();
    EXPECT_EQ(shot.pixelColor(756, 20).rgb(), qRgb(0, 0, 0)); // not dimmed
    // No shadow of the compositor's around the hanging island.
    const QRgb beside = shot.pixelColor(400, 800).rgb();
    EXPECT_EQ(shot.pixelColor(756, 40).rgb(), beside);
    EXPECT_EQ(shot.pixelColor(856, 10).rgb(), beside);
    const QString props = x.run("xprop", {"-id", QString::number(island), "_NET_WM_WINDOW_TYPE",
                                          "_NET_WM_WINDOW_OPACITY", "_COMPTON_SHADOW"});
    EXPECT_TRUE(props.contains("_NET_WM_WINDOW_TYPE_DOCK")) << props.toStdString();
    EXPECT_TRUE(props.contains("_NET_WM_WINDOW_OPACITY(CARDINAL) = 4294967295")) << props.toStdString();
}

namespace {
// Waits until the island's window has the width wanted; the last width seen.
int waitForWidth(const XSession &x, quint64 id, const std::function<bool(int)> &wanted, int timeoutMs = 4000)
{
    QElapsedTimer t;
    t.start();
    int w = -1;
    while (t.elapsed() < timeoutMs) {
        w = geometryOf(x, id).w;
        if (wanted(w))
            return w;
        QThread::msleep(50);
    }
    return w;
}

// What a pager (or wmctrl -c) sends: a request to the window manager to
// close the window.
void askWindowManagerToClose(const XSession &x, quint64 id)
{
    xcb_connection_t *c = xcb_connect(x.display().toLatin1().constData(), nullptr);
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const char name[] = "_NET_CLOSE_WINDOW";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    xcb_client_message_event_t e{};
    e.response_type = XCB_CLIENT_MESSAGE;
    e.format = 32;
    e.window = xcb_window_t(id);
    e.type = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    e.data.data32[0] = XCB_CURRENT_TIME;
    e.data.data32[1] = 2; // from a pager
    xcb_send_event(c, 0, screen->root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&e));
    xcb_flush(c);
    free(atom);
    xcb_disconnect(c);
}

bool viewable(const XSession &x, quint64 id)
{
    return x.run("xwininfo", {"-id", QString::number(id)}).contains("IsViewable");
}
} // namespace

TEST_F(IslandWindowTest, PointerClicksEscapeAndTheChordDriveTheIsland)
{
    ASSERT_TRUE(x.startWindowManager());
    QProcess *app = launch();
    ASSERT_TRUE(app);
    const quint64 island = x.findWindow("Pavlet Island");
    ASSERT_NE(island, 0u);
    QThread::msleep(500);
    auto is = [](int want) { return [want](int w) { return w == want; }; };

    // Onto the island: the hover frame, 296 x 72 at the top centre.
    x.run("xdotool", {"mousemove", "756", "10"});
    ASSERT_EQ(waitForWidth(x, island, is(296)), 296);
    const Geometry hover = geometryOf(x, island);
    EXPECT_EQ(hover.x, 756 - 148);
    EXPECT_EQ(hover.y, 0);
    EXPECT_EQ(hover.h, 72);

    // A click opens Home; Escape steps back out of it.
    x.run("xdotool", {"click", "1"});
    ASSERT_EQ(waitForWidth(x, island, is(428)), 428);
    QThread::msleep(300);
    x.run("xdotool", {"key", "Escape"});
    EXPECT_LT(waitForWidth(x, island, [](int w) { return w < 428; }), 428);

    // Home again; a click elsewhere on the desktop closes it.
    x.run("xdotool", {"mousemove", "756", "10", "click", "1"});
    ASSERT_EQ(waitForWidth(x, island, is(428)), 428);
    x.run("xdotool", {"mousemove", "200", "600", "click", "1"});
    EXPECT_EQ(waitForWidth(x, island, is(lipWidth)), lipWidth);

    // The window manager's close, by Alt+F4 once a click on the pill has
    // given the island the focus, and as a pager asks it: the island stays
    // where it was and opens as before.
    x.run("xdotool", {"mousemove", "756", "10", "click", "1"});
    ASSERT_EQ(waitForWidth(x, island, is(428)), 428);
    x.run("xdotool", {"key", "alt+F4"});
    askWindowManagerToClose(x, island);
    x.run("xdotool", {"mousemove", "200", "600", "click", "1"});
    EXPECT_EQ(waitForWidth(x, island, is(lipWidth)), lipWidth);
    EXPECT_TRUE(viewable(x, island));
    x.run("xdotool", {"mousemove", "756", "10", "click", "1"});
    EXPECT_EQ(waitForWidth(x, island, is(428)), 428);
    x.run("xdotool", {"mousemove", "200", "600", "click", "1"});
    EXPECT_EQ(waitForWidth(x, island, is(lipWidth)), lipWidth);

    // Ctrl+Alt+G, wherever the keyboard is: the lock turns on and its toast
    // makes the island taller for a while.
    x.run("xdotool", {"key", "ctrl+alt+g"});
    EXPECT_GT(waitForWidth(x, island, [](int w) { return w > lipWidth; }), lipWidth);
    EXPECT_GE(geometryOf(x, island).h, lipHeight + IslandMetrics::toastHeight);

    // A clean quit.
    app->terminate();
    ASSERT_TRUE(app->waitForFinished(10000));
    EXPECT_EQ(app->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app->exitCode(), 0);
    UserDefaults stored(home.filePath("config/pavlet/defaults.json"));
    EXPECT_TRUE(stored.boolValue("pavlet.gameModeOn", false));
}

// Home opened from another program's keyboard, that program then closed or
// minimized, Escape with the pointer still on the island: a word and Ctrl+Q
// typed next reach no island (the program still runs and opens), without a
// window manager and under xfwm4. A window manager started again while Home
// is open gives Home its keys back.
TEST_F(IslandWindowTest, TheClosedIslandNeverKeepsTheKeyboard)
{
    QProcess *app = launch();
    ASSERT_TRUE(app);
    const quint64 island = x.findWindow("Pavlet Island");
    ASSERT_NE(island, 0u);
    auto homeOpens = [&] {
        x.run("xdotool", {"mousemove", "756", "10", "click", "1"});
        return waitForWidth(x, island, [](int w) { return w == 428; }) == 428;
    };
    auto round = [&](const QString &away) {
        SCOPED_TRACE(away.toStdString());
        auto other = std::make_unique<PlainWindow>(x.display());
        const QString id = QString::number(other->id());
        x.run("xdotool", {"search", "--sync", "--onlyvisible", "--name", "plain window"});
        x.run("xdotool", {"windowactivate", "--sync", id});
        x.run("xdotool", {"windowfocus", "--sync", id});
        ASSERT_TRUE(homeOpens());
        if (away == "closed")
            other.reset();
        else
            x.run("xdotool", {"windowminimize", "--sync", id});
        x.run("xdotool", {"key", "Escape"});
        ASSERT_LT(waitForWidth(x, island, [](int w) { return w < 428; }), 428);
        x.run("xdotool", {"type", "word"});
        x.run("xdotool", {"key", "ctrl+q"});
        EXPECT_TRUE(homeOpens()) << "the keys reached the island";
        EXPECT_EQ(app->state(), QProcess::Running);
        x.run("xdotool", {"key", "Escape"});
        ASSERT_LT(waitForWidth(x, island, [](int w) { return w < 428; }), 428);
    };
    round("closed");
    ASSERT_TRUE(x.startWindowManager("xfwm4"));
    round("minimized");
    round("closed");

    PlainWindow other(x.display());
    x.run("xdotool", {"windowactivate", "--sync", QString::number(other.id())});
    ASSERT_TRUE(homeOpens());
    ASSERT_TRUE(x.startWindowManager("xfwm4"));
    x.run("xdotool", {"key", "Escape"});
    EXPECT_LT(waitForWidth(x, island, [](int w) { return w < 428; }), 428) << "Home lost the keyboard";
    const QString type = x.run("xprop", {"-id", QString::number(island), "_NET_WM_WINDOW_TYPE"});
    EXPECT_TRUE(type.startsWith("_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_DOCK")) << type.toStdString();
}

TEST_F(IslandWindowTest, ASecondLaunchOpensTheSettingsOfTheFirstAndLeavesWithSuccess)
{
    QProcess *first = launch();
    ASSERT_TRUE(first);
    ASSERT_NE(x.findWindow("Pavlet Island"), 0u);
    QProcess second;
    second.setProcessEnvironment(x.environment(home.path()));
    second.start(PAVLET_BINARY, {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    // The first one shows its settings window.
    QElapsedTimer t;
    t.start();
    QString shown;
    while (shown.isEmpty() && t.elapsed() < 10000) {
        shown = x.run("xdotool", {"search", "--onlyvisible", "--name", "^Pavlet$"}).trimmed();
        if (shown.isEmpty())
            QThread::msleep(100);
    }
    ASSERT_FALSE(shown.isEmpty());

    // No window manager stacks them here: Home opens over the settings
    // window, not under it.
    const quint64 island = x.findWindow("Pavlet Island");
    const quint64 settings = shown.section('\n', 0, 0).toULongLong();
    x.run("xdotool", {"mousemove", "756", "10"});
    ASSERT_EQ(waitForWidth(x, island, [](int w) { return w == 296; }), 296);
    x.run("xdotool", {"click", "1"});
    ASSERT_EQ(waitForWidth(x, island, [](int w) { return w == 428; }), 428);
    // Listed from the top down.
    const QString stack = x.run("xwininfo", {"-root", "-children"});
    auto place = [&](quint64 id) { return stack.indexOf(QStringLiteral("0x%1 ").arg(id, 0, 16)); };
    ASSERT_TRUE(place(settings) >= 0 && place(island) >= 0) << stack.toStdString();
    EXPECT_LT(place(island), place(settings)) << stack.toStdString();

    // Ctrl+W closes the settings window.
    x.run("xdotool", {"mousemove", "200", "900", "click", "1"});
    ASSERT_EQ(waitForWidth(x, island, [](int w) { return w == lipWidth; }), lipWidth);
    x.run("xdotool", {"windowfocus", "--sync", QString::number(settings)});
    x.run("xdotool", {"key", "ctrl+w"});
    EXPECT_TRUE(Patience::until([&] { return !viewable(x, settings); }, 5000)) << "the settings window stayed";

    // A first that cannot answer (stopped): the second says so within a few
    // seconds and fails, rather than claim it did what it asked.
    ASSERT_EQ(::kill(pid_t(first->processId()), SIGSTOP), 0);
    const auto resume = qScopeGuard([&] { ::kill(pid_t(first->processId()), SIGCONT); });
    QProcess unanswered;
    unanswered.setProcessEnvironment(x.environment(home.path()));
    unanswered.start(PAVLET_BINARY, {});
    ASSERT_TRUE(unanswered.waitForFinished(15000));
    EXPECT_EQ(unanswered.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(unanswered.exitCode(), 1);
    const QString said = QString::fromLocal8Bit(unanswered.readAllStandardError()).trimmed();
    EXPECT_TRUE(said.startsWith("pavlet: ") && said.contains("does not answer")) << said.toStdString();
}

TEST(NoDisplayTest, WithoutADisplayOneLineAndStatusOne)
{
    QTemporaryDir home;
    // --help and --version answer without a display and start nothing.
    for (const char *option : {"--help", "--version"}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        env.insert("XDG_RUNTIME_DIR", home.path());
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(PAVLET_BINARY, {option});
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << option;
        EXPECT_EQ(p.exitCode(), 0) << option;
        EXPECT_EQ(p.readAllStandardError(), QByteArray()) << option;
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        if (QLatin1String(option) == QLatin1String("--version"))
            EXPECT_EQ(out, QStringLiteral("pavlet %1\n").arg(PAVLET_VERSION));
        else
            EXPECT_TRUE(out.startsWith("Usage: pavlet")) << out.toStdString();
    }
    // An option it does not know: the usage, on the error output, and status 2.
    QProcess bogus;
    bogus.start(PAVLET_BINARY, {"--bogus"});
    ASSERT_TRUE(bogus.waitForFinished(10000));
    EXPECT_EQ(bogus.exitCode(), 2);
    EXPECT_TRUE(bogus.readAllStandardError().contains("Usage: pavlet"));
    for (const char *display : {"", ":97531"}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        env.insert("XDG_RUNTIME_DIR", home.path());
        if (*display)
            env.insert("DISPLAY", display);
        else
            env.remove("DISPLAY");
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(PAVLET_BINARY, {});
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << display;
        EXPECT_EQ(p.exitCode(), 1) << display;
        const QStringList lines = QString::fromUtf8(p.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
        EXPECT_TRUE(lines.first().startsWith("pavlet needs a graphical desktop session")) << lines.first().toStdString();
    }
}

namespace {

// An X display that lets one connection through to the test's X server (the
// program's own check that a display is there) and drops every later one:
// a display that goes away while the program starts.
class DisplayThatGoesAway {
public:
    explicit DisplayThatGoesAway(const QString &real)
    {
        for (int n = 4000 + int(QCoreApplication::applicationPid() % 1000); n < 6000; ++n) {
            const QString path = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
            if (QFile::exists(path) || !m_server.listen(path))
                continue;
            m_display = QStringLiteral(":%1").arg(n);
            break;
        }
        const QString realPath = QStringLiteral("/tmp/.X11-unix/X") + real.mid(1);
        QObject::connect(&m_server, &QLocalServer::newConnection, &m_server, [this, realPath] {
            while (QLocalSocket *client = m_server.nextPendingConnection()) {
                if (m_passed++ > 0) {
                    client->abort();
                    client->deleteLater();
                    continue;
                }
                auto *server = new QLocalSocket(client);
                server->connectToServer(realPath);
                server->waitForConnected(3000);
                QObject::connect(client, &QLocalSocket::readyRead, server, [client, server] { server->write(client->readAll()); });
                QObject::connect(server, &QLocalSocket::readyRead, client, [client, server] { client->write(server->readAll()); });
                QObject::connect(client, &QLocalSocket::disconnected, server, &QLocalSocket::disconnectFromServer);
                if (client->bytesAvailable() > 0)
                    server->write(client->readAll());
            }
        });
    }
    QString display() const { return m_display; }
    int connections() const { return m_passed; }

private:
    QLocalServer m_server;
    QString m_display;
    int m_passed = 0;
};

} // namespace

// The display passes the program's check and is gone when Qt connects: one
// line that says so and status 1, not an abort and a core.
TEST_F(IslandWindowTest, ADisplayGoneAsTheProgramStartsEndsWithOneLineAndStatusOne)
{
    DisplayThatGoesAway gone(x.display());
    ASSERT_FALSE(gone.display().isEmpty());
    QProcessEnvironment env = x.environment(home.path());
    env.insert("DISPLAY", gone.display());
    // No renderer probe: the program itself makes the second connection.
    env.insert("QT_QUICK_BACKEND", "software");
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(PAVLET_BINARY, {});
    ASSERT_TRUE(p.waitForStarted(5000));
    ASSERT_TRUE(Patience::until([&] { return p.state() == QProcess::NotRunning; }, 20000));
    EXPECT_GE(gone.connections(), 2) << "the program never came back to the display";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    const QStringList lines = QString::fromUtf8(p.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().startsWith("pavlet needs a graphical desktop session")) << lines.join('\n').toStdString();
}

namespace {

// A program of ours (by its folders) still running a moment after the one it helped ended.
QString helperOutliving(const QString &home)
{
    QString found;
    Patience::until([&] {
        found.clear();
        for (const QString &pid : QDir("/proc").entryList(QDir::Dirs)) {
            QFile env("/proc/" + pid + "/environ");
            const QString exe = QFileInfo("/proc/" + pid + "/exe").symLinkTarget();
            if (exe.contains("/pavlet-") && env.open(QIODevice::ReadOnly) && env.readAll().contains(home.toLocal8Bit() + "/config"))
                found = exe;
        }
        return found.isEmpty();
    }, 1000);
    return found;
}

} // namespace

// The X server ends at a random moment of the first 2.5 s after start,
// under each renderer, the program's own choice and its renderer probe:
// every run ends with the program's own line and a non-zero status (the probe
// may have answered first), never Qt's or Xlib's, nor by a signal (an abort or a crash, and its
// core). Four runs at once, each on an X server of its own.
TEST_F(IslandWindowTest, AnXServerEndingAsTheProgramStartsEndsItWithALine)
{
    QRandomGenerator random(55);
    const QStringList kinds = {"software", "rhi", "own", "probe"};
    QStringList faults;
    for (int batch = 0; batch < 15; ++batch) {
        std::vector<std::unique_ptr<XSession>> servers;
        std::vector<std::unique_ptr<QProcess>> runs;
        QTemporaryDir base;
        for (const QString &kind : kinds) {
            servers.push_back(std::make_unique<XSession>());
            prepareHome(base.filePath(kind));
            QProcessEnvironment env = servers.back()->environment(base.filePath(kind));
            if (kind == "software" || kind == "rhi")
                env.insert("QT_QUICK_BACKEND", kind);
            runs.push_back(std::make_unique<QProcess>());
            runs.back()->setProcessEnvironment(env);
            runs.back()->start(kind == "probe" ? PAVLET_GL_PROBE : PAVLET_BINARY, QStringList());
        }
        const int endAt = random.bounded(2500);
        QThread::msleep(endAt);
        for (std::size_t i = 0; i < servers.size(); ++i)
            servers[i]->endServer((batch + i) % 2 == 0);
        for (std::size_t i = 0; i < runs.size(); ++i) {
            QProcess &p = *runs[i];
            const bool finished = p.waitForFinished(20000);
            // Its helpers (the renderer probe, the keyring's) end with it.
            if (const QString helper = helperOutliving(base.filePath(kinds[int(i)])); !helper.isEmpty())
                faults << QStringLiteral("%1, ended at %2 ms: %3 outlived it").arg(kinds[int(i)]).arg(endAt).arg(helper);
            const QString said = QString::fromLocal8Bit(p.readAllStandardError());
            const QString program = kinds[int(i)] == "probe" ? "pavlet-gl-probe" : "pavlet";
            const bool explained = said.trimmed().section('\n', -1).startsWith(program + " needs a graphical desktop");
            if (!finished || p.exitStatus() != QProcess::NormalExit
                || (p.exitCode() != 0 ? !explained : p.readAllStandardOutput().isEmpty()))
                faults << QStringLiteral("%1, ended at %2 ms: %3 %4 %5\n%6")
                              .arg(kinds[int(i)]).arg(endAt).arg(finished).arg(p.exitStatus()).arg(p.exitCode())
                              .arg(said.right(1500));
        }
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
}

// This X server offers no direct rendering, so its OpenGL is a software
// rasteriser: the island draws with Qt Quick's software renderer, and learns
// that from its probe without loading OpenGL's driver (and its code
// generator) into itself. Nor does the island map FFmpeg and its codec
// libraries (the sound helper program runs them); nor
// Qt Quick's controls, which only Home, its panels and the settings window
// use, compiled once the island first opens.
TEST_F(IslandWindowTest, ASoftwareRasteriserIsLearntWithoutLoadingOpenGlHereNorACodec)
{
    QProcessEnvironment env = x.environment(home.path());
    env.remove(QStringLiteral("QT_QUICK_BACKEND"));
    env.remove(QStringLiteral("QSG_RHI_BACKEND"));
    QProcess *island = x.start(PAVLET_BINARY, {}, env);
    ASSERT_TRUE(island);
    ASSERT_NE(x.findWindow("Pavlet Island"), 0u);
    QFile maps(QStringLiteral("/proc/%1/maps").arg(island->processId()));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    EXPECT_FALSE(mapped.contains("_dri.so"));
    EXPECT_FALSE(mapped.contains("libLLVM"));
    EXPECT_FALSE(mapped.contains("libavcodec"));
    EXPECT_FALSE(mapped.contains("libavformat"));
    EXPECT_FALSE(mapped.contains("libswresample"));
    QByteArray log;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            log += island->readAllStandardError();
            return log.contains("drawing with Qt Quick's software renderer");
        },
        5000))
        << log.toStdString();
    QFile later(maps.fileName());
    ASSERT_TRUE(later.open(QIODevice::ReadOnly));
    EXPECT_FALSE(later.readAll().contains("libQt6QuickTemplates2"));
}

TEST_F(IslandWindowTest, AtScaleTwoTheOutlineIsCutAtTheScreensOwnPixels)
{
    ASSERT_TRUE(x.startWindowManager());
    x.paintDesktop(0xff00ff);
    QProcessEnvironment env = x.environment(home.path());
    env.insert("QT_SCALE_FACTOR", "2");
    ASSERT_TRUE(x.start(PAVLET_BINARY, {}, env));
    ASSERT_NE(x.findWindow("Pavlet Island"), 0u);
    QThread::msleep(800);
    const QImage shot = x.screenshot();
    ASSERT_FALSE(shot.isNull());
    const QRgb desktop = shot.pixelColor(100, 500).rgb();
    // The first pixel of the island from the left on a row of the screen.
    auto edge = [&](int y) {
        for (int px = 500; px < 756; ++px) {
            if (shot.pixelColor(px, y).rgb() != desktop)
                return px;
        }
        return -1;
    };
    // The collapsed island at the top centre, at twice its size here, its
    // bottom corners of radius 16 (32 pixels): the square side first, then
    // the curve.
    EXPECT_EQ(edge(10), 2 * (378 - lipWidth / 2));
    // Cut at half the resolution every pair of rows would start alike.
    int steps = 0;
    for (int y = 2 * lipHeight - 32; y < 2 * lipHeight; y += 2)
        steps += edge(y) != edge(y + 1) ? 1 : 0;
    EXPECT_GE(steps, 4);
}

namespace {

// Whether the process has a handler of its own for SIGTERM.
bool catchesTerm(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    }
    return false;
}

// A line of the program's output that tells of a view gone wrong as it
// quit (a binding that ran on an object already gone, views left half made),
// or empty.
QString qmlTrouble(const QByteArray &output)
{
    for (const QByteArray &line : output.split('\n')) {
        if (line.contains("TypeError") || line.contains(".qml:") || line.contains("destroyed while")
            || line.contains("being created"))
            return QString::fromLocal8Bit(line);
    }
    return {};
}

} // namespace

// Quits (SIGTERM, as a session ending sends) at random moments of the first
// 3 s after start, under each renderer: every run ends with status 0, never
// by a signal or an abort, and no view says anything as it goes. Five
// islands run at once, each with its own home.
TEST_F(IslandWindowTest, QuittingAtAnyMomentAfterStartEndsWithStatusZero)
{
    QRandomGenerator random(37);
    for (const char *renderer : {"software", "opengl"}) {
        QStringList faults;
        for (int batch = 0; batch < 10; ++batch) {
            struct Run {
                std::unique_ptr<QTemporaryDir> home;
                std::unique_ptr<QProcess> process;
                qint64 quitAt = 0;
                bool quit = false;
            };
            std::vector<Run> runs(5);
            QElapsedTimer t;
            t.start();
            for (Run &run : runs) {
                run.home = std::make_unique<QTemporaryDir>();
                prepareHome(run.home->path());
                QProcessEnvironment env = x.environment(run.home->path());
                if (QLatin1String(renderer) == QLatin1String("software"))
                    env.insert("QT_QUICK_BACKEND", "software");
                else
                    env.insert("QSG_RHI_BACKEND", "opengl");
                run.process = std::make_unique<QProcess>();
                run.process->setProcessEnvironment(env);
                run.process->setProcessChannelMode(QProcess::MergedChannels);
                run.process->start(PAVLET_BINARY, {});
                run.process->waitForStarted(5000);
                // From the moment main runs (it catches SIGTERM on its first
                // line): before it, no program can take a signal as a quit,
                // and on a busy machine loading the libraries takes a while.
                ASSERT_TRUE(QTest::qWaitFor([&] { return catchesTerm(run.process->processId()); }, 20000))
                    << "the program never caught SIGTERM";
                run.quitAt = t.elapsed() + random.bounded(3000);
            }
            for (bool waiting = true; waiting;) {
                waiting = false;
                for (Run &run : runs) {
                    if (!run.quit && t.elapsed() >= run.quitAt) {
                        run.process->terminate();
                        run.quit = true;
                    }
                    waiting = waiting || !run.quit;
                }
                QThread::msleep(5);
            }
            for (Run &run : runs) {
                const bool ended = run.process->waitForFinished(20000);
                const QByteArray output = run.process->readAll();
                if (const QString trouble = qmlTrouble(output); !trouble.isEmpty())
                    faults << QStringLiteral("%1, quit at %2 ms: %3").arg(QLatin1String(renderer)).arg(run.quitAt).arg(trouble);
                if (!ended || run.process->exitStatus() != QProcess::NormalExit || run.process->exitCode() != 0) {
                    faults << QStringLiteral("%1, quit at %2 ms: %3 %4\n%5")
                                  .arg(QLatin1String(renderer))
                                  .arg(run.quitAt)
                                  .arg(ended ? (run.process->exitStatus() == QProcess::NormalExit ? "status" : "signal")
                                             : "still running")
                                  .arg(run.process->exitCode())
                                  .arg(QString::fromLocal8Bit(output.right(2000)));
                    run.process->kill();
                    run.process->waitForFinished(5000);
                }
            }
        }
        EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
    }
}

// Quits at random moments just after Home has opened, while the settings
// window is being built in the background for the way to it: status 0 and
// nothing said by a view, as above.
TEST_F(IslandWindowTest, QuittingAsHomeOpensLeavesNoViewBehind)
{
    QRandomGenerator random(41);
    QStringList faults;
    for (int run = 0; run < 8; ++run) {
        QTemporaryDir runHome;
        prepareHome(runHome.path());
        QProcess p;
        p.setProcessEnvironment(x.environment(runHome.path()));
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(PAVLET_BINARY, {});
        ASSERT_TRUE(p.waitForStarted(5000));
        const quint64 island = x.findWindow("Pavlet Island", 20000);
        ASSERT_NE(island, 0u);
        x.run("xdotool", {"mousemove", "756", "10"});
        waitForWidth(x, island, [](int w) { return w == 296; });
        x.run("xdotool", {"click", "1"});
        ASSERT_EQ(waitForWidth(x, island, [](int w) { return w == 428; }), 428);
        const int quitAt = random.bounded(600);
        QThread::msleep(quitAt);
        p.terminate();
        const bool ended = p.waitForFinished(20000);
        const QByteArray output = p.readAll();
        if (!ended || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || !qmlTrouble(output).isEmpty())
            faults << QStringLiteral("quit %1 ms after Home opened: %2 %3\n%4")
                          .arg(quitAt)
                          .arg(ended ? (p.exitStatus() == QProcess::NormalExit ? "status" : "signal") : "still running")
                          .arg(p.exitCode())
                          .arg(QString::fromLocal8Bit(output.right(2000)));
        p.kill();
        p.waitForFinished(5000);
        x.run("xdotool", {"mousemove", "200", "600"});
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
}

// The floating pill and the open island moved 80 down with the editor's Y
// offsets: a pointer resting on the pill leaves the island at rest, open
// under it, and a click opens Home.
TEST_F(IslandWindowTest, AnIslandMovedDownRestsUnderAStillPointer)
{
    {
        UserDefaults d(home.filePath("config/pavlet/defaults.json"));
        d.setBool("floatingIsland", true);
        d.setDouble("lipOffsetY", 80);
        d.setDouble("expandedOffsetY", 80);
    }
    ASSERT_TRUE(x.startWindowManager());
    x.paintDesktop(0x3a6ea5);
    QProcess *app = launch();
    ASSERT_TRUE(app);
    const quint64 island = x.findWindow("Pavlet Island");
    ASSERT_NE(island, 0u);
    QThread::msleep(800);
    const Geometry pill = geometryOf(x, island);
    x.run("xdotool", {"mousemove", QString::number(pill.x + pill.w / 2), QString::number(pill.y + pill.h / 2)});
    // Two seconds to open; then the island holds still under the pointer.
    QThread::msleep(2000);
    const Geometry open = geometryOf(x, island);
    EXPECT_GT(open.w, pill.w);
    for (int i = 0; i < 10; ++i) {
        QThread::msleep(100);
        const Geometry now = geometryOf(x, island);
        EXPECT_TRUE(now.x == open.x && now.y == open.y && now.w == open.w && now.h == open.h) << i;
    }
    Screenshots::save(x.screenshot(), Screenshots::outputDir(), QStringLiteral("island-rests-under-pointer-y80"));
    x.run("xdotool", {"click", "1"});
    EXPECT_GE(waitForWidth(x, island, [](int w) { return w >= 428; }), 428); // Home, with its shadow's margin
    app->terminate();
    ASSERT_TRUE(app->waitForFinished(10000));
}

namespace {

// The desktop's panel shows the island's icon and draws its menu; a click on
// "Quit Pavlet" there ends the program, with status zero.
TEST_F(IslandWindowTest, QuitPavletInTheTraysMenuEndsTheProgramWithStatusZero)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    const QString watcher = "org.kde.StatusNotifierWatcher";
    ASSERT_TRUE(bus.startMock({watcher, "/StatusNotifierWatcher", watcher}, watcher));
    ASSERT_EQ(bus.call(watcher, "/StatusNotifierWatcher", "org.freedesktop.DBus.Mock", "AddMethod",
                       {watcher, "RegisterStatusNotifierItem", "s", "", ""})
                  .type(),
              QDBusMessage::ReplyMessage);
    QProcessEnvironment env = x.environment(home.path());
    env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
    QProcess *island = x.start(PAVLET_BINARY, {}, env);
    ASSERT_TRUE(island->waitForStarted(5000));

    // The icon the panel was told about.
    QString service;
    Patience::until([&] {
        const QList<QVariantList> calls = bus.mockCalls(watcher, "/StatusNotifierWatcher", "RegisterStatusNotifierItem");
        service = calls.value(0).value(0).toString();
        return !service.isEmpty();
    }, 20000);
    ASSERT_EQ(service, QString("org.kde.StatusNotifierItem-%1-1").arg(island->processId()));

    // Its menu as the panel reads it before drawing, then the click.
    const QDBusMessage opening = bus.call(service, "/MenuBar", "com.canonical.dbusmenu", "AboutToShow", {0});
    ASSERT_EQ(opening.type(), QDBusMessage::ReplyMessage) << opening.errorMessage().toStdString();
    const QDBusMessage label = bus.call(service, "/MenuBar", "com.canonical.dbusmenu", "GetProperty", {7, "label"});
    ASSERT_EQ(label.arguments().value(0).value<QDBusVariant>().variant().toString(), "Quit Pavlet");
    bus.call(service, "/MenuBar", "com.canonical.dbusmenu", "Event",
             {7, "clicked", QVariant::fromValue(QDBusVariant(0)), 0u});
    ASSERT_TRUE(island->waitForFinished(20000)) << "the program is still running";
    EXPECT_EQ(island->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(island->exitCode(), 0);
}

} // namespace
