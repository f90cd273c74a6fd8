#include "pavlettest.h"
#include "xtestmediakeys.h"

#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <X11/Xlib.h>

TEST(XTestMediaKeys, PlayNextAndPreviousReachTheXServer)
{
    Display *display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "the test script provides an X server";
    const Window root = DefaultRootWindow(display);
    XTestMediaKeys keys;
    for (int type : {16, 17, 18}) {
        const KeyCode code = XKeysymToKeycode(display, XTestMediaKeys::keysymFor(type));
        ASSERT_NE(code, 0) << type;
        // Catch the key on the root window, as a desktop's media handler does.
        XGrabKey(display, code, AnyModifier, root, True, GrabModeAsync, GrabModeAsync);
        XSync(display, False);
        EXPECT_TRUE(keys.sendMediaKey(type, true));
        EXPECT_TRUE(keys.sendMediaKey(type, false));
        QList<int> seen;
        QDeadlineTimer deadline(3000);
        while (seen.size() < 2 && !deadline.hasExpired()) {
            while (XPending(display)) {
                XEvent event;
                XNextEvent(display, &event);
                if ((event.type == KeyPress || event.type == KeyRelease) && event.xkey.keycode == code)
                    seen << event.type;
            }
            QThread::msleep(10);
        }
        EXPECT_EQ(seen, (QList<int>{KeyPress, KeyRelease})) << type;
        XUngrabKey(display, code, AnyModifier, root);
        XSync(display, False);
    }
    EXPECT_FALSE(keys.sendMediaKey(0, true)) << "only play, next and previous";
    XCloseDisplay(display);
}
