#include "platform/linux/ewmhworkspace.h"
#include "platform/linux/x11globalhotkey.h"
#include "platform/linux/xinputclickmonitor.h"
#include "support/patience.h"
#include "support/pavlettest.h"
#include "xsession.h"

#include <QSignalSpy>
#include <QTest>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace {
// Points this process's own X connections at the session for one test.
class DisplayScope {
public:
    explicit DisplayScope(const QString &display) : m_saved(qgetenv("DISPLAY")) { qputenv("DISPLAY", display.toLatin1()); }
    ~DisplayScope() { qputenv("DISPLAY", m_saved); }

private:
    QByteArray m_saved;
};
} // namespace

TEST(X11GlobalHotkeyTest, CtrlAltGArrivesWithAndWithoutCapsLock)
{
    XSession x;
    ASSERT_TRUE(x.isRunning());
    DisplayScope scope(x.display());
    platform::X11GlobalHotkey key;
    QSignalSpy presses(&key, &platform::IGlobalHotkey::pressed);
    ASSERT_TRUE(key.installHandler());
    ASSERT_TRUE(key.grab());
    x.run("xdotool", {"key", "ctrl+alt+g"});
    EXPECT_TRUE(waitUntil([&] { return presses.count() == 1; }));
    x.run("xdotool", {"key", "Caps_Lock", "ctrl+alt+g", "Caps_Lock"});
    EXPECT_TRUE(waitUntil([&] { return presses.count() == 2; }));
    // Other chords are not ours: by the time ours, sent after them, arrives,
    // they would have too.
    x.run("xdotool", {"key", "ctrl+g", "alt+g", "ctrl+alt+h", "ctrl+alt+g"});
    EXPECT_TRUE(Patience::until([&] { return presses.count() >= 3; }, 5000));
    EXPECT_EQ(presses.count(), 3);
    // Let go, the chord is not ours either: only the press after the next
    // grab arrives.
    key.ungrab();
    x.run("xdotool", {"key", "ctrl+alt+g"});
    ASSERT_TRUE(key.grab());
    x.run("xdotool", {"key", "ctrl+alt+g"});
    EXPECT_TRUE(Patience::until([&] { return presses.count() >= 4; }, 5000));
    EXPECT_EQ(presses.count(), 4);
}

TEST(X11GlobalHotkeyTest, AChordHeldByAnotherProgramCannotBeGrabbed)
{
    XSession x;
    ASSERT_TRUE(x.isRunning());
    DisplayScope scope(x.display());
    // Another program takes Ctrl+Alt+G first.
    xcb_connection_t *other = xcb_connect(x.display().toLatin1().constData(), nullptr);
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(other)).data;
    xcb_key_symbols_t *syms = xcb_key_symbols_alloc(other);
    xcb_keycode_t *codes = xcb_key_symbols_get_keycode(syms, 0x67);
    ASSERT_TRUE(codes && *codes);
    xcb_generic_error_t *err = xcb_request_check(
        other, xcb_grab_key_checked(other, 1, screen->root, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1, codes[0],
                                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    ASSERT_EQ(err, nullptr);
    free(codes);
    xcb_key_symbols_free(syms);

    platform::X11GlobalHotkey key;
    ASSERT_TRUE(key.installHandler());
    EXPECT_FALSE(key.grab());
    // Once the other lets go, the chord can be had.
    xcb_disconnect(other);
    EXPECT_TRUE(Patience::until([&] { return key.grab(); }, 2000));
}

TEST(XInputClickMonitorTest, ReportsLeftPressesAnywhereWithTheirTime)
{
    XSession x;
    ASSERT_TRUE(x.isRunning());
    DisplayScope scope(x.display());
    platform::XInputClickMonitor monitor;
    QSignalSpy clicks(&monitor, &platform::IGlobalClickMonitor::clicked);
    ASSERT_TRUE(monitor.start());
    x.run("xdotool", {"mousemove", "300", "400", "click", "1"});
    ASSERT_TRUE(waitUntil([&] { return clicks.count() == 1; }));
    EXPECT_EQ(clicks.at(0).at(1).toPointF(), QPointF(300, 400));
    x.run("xdotool", {"click", "3"}); // right button: not a click here
    x.run("xdotool", {"click", "1"});
    ASSERT_TRUE(waitUntil([&] { return clicks.count() == 2; }));
    EXPECT_NE(clicks.at(0).at(0).toLongLong(), clicks.at(1).at(0).toLongLong());
    monitor.stop();
}

TEST(EwmhWorkspaceTest, PutsAwayOrdinaryWindowsAndBringsThemBackWithoutTakingFocus)
{
    XSession x;
    ASSERT_TRUE(x.isRunning());
    ASSERT_TRUE(x.startWindowManager());
    DisplayScope scope(x.display());
    xcb_connection_t *c = xcb_connect(x.display().toLatin1().constData(), nullptr);
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    auto atom = [c](const char *name) {
        xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, quint16(strlen(name)), name), nullptr);
        const xcb_atom_t a = r->atom;
        free(r);
        return a;
    };
    auto window = [&](const char *title, const char *type) {
        const xcb_window_t w = xcb_generate_id(c);
        const quint32 white[] = {screen->white_pixel};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 300, 200, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual, XCB_CW_BACK_PIXEL, white);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, quint32(strlen(title)), title);
        if (type) {
            const xcb_atom_t t = atom(type);
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1, &t);
        }
        xcb_map_window(c, w);
        xcb_flush(c);
        return w;
    };
    const xcb_window_t editor = window("editor", nullptr);
    const xcb_window_t panel = window("panel", "_NET_WM_WINDOW_TYPE_DOCK");
    const xcb_window_t terminal = window("terminal", "_NET_WM_WINDOW_TYPE_NORMAL");

    platform::EwmhWorkspace workspace;
    ASSERT_TRUE(waitUntil([&] { return workspace.windows().size() == 3; }))
        << x.run("xprop", {"-root", "_NET_CLIENT_LIST"}).toStdString();
    for (const platform::WorkspaceWindow &w : workspace.windows())
        EXPECT_EQ(w.ordinary, w.id != panel) << w.title.toStdString();

    x.run("xdotool", {"windowactivate", "--sync", QString::number(terminal)});
    auto active = [&] { return x.run("xdotool", {"getactivewindow"}).trimmed().toULongLong(); };
    ASSERT_EQ(active(), terminal);
    auto minimized = [&](xcb_window_t id) {
        for (const platform::WorkspaceWindow &w : workspace.windows())
            if (w.id == id)
                return w.minimized;
        return false;
    };
    workspace.minimize(editor);
    ASSERT_TRUE(waitUntil([&] { return minimized(editor); }));
    workspace.restore(editor);
    EXPECT_TRUE(waitUntil([&] { return !minimized(editor); }));
    // The focus stays where it was: a window manager that moved it would
    // have done so within this time.
    QTest::qWait(300);
    EXPECT_EQ(active(), terminal);

    xcb_destroy_window(c, editor);
    xcb_flush(c);
    EXPECT_TRUE(waitUntil([&] { return !workspace.exists(editor); }));
    xcb_disconnect(c);
}
