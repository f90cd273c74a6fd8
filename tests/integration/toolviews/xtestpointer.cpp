#include "xtestpointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

XTestPointer::XTestPointer()
{
    Display *display = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (display && !XTestQueryExtension(display, &event, &error, &major, &minor)) {
        XCloseDisplay(display);
        display = nullptr;
    }
    m_display = display;
}

XTestPointer::~XTestPointer()
{
    if (m_display)
        XCloseDisplay(static_cast<Display *>(m_display));
}

void XTestPointer::moveTo(QPoint global)
{
    auto *display = static_cast<Display *>(m_display);
    XTestFakeMotionEvent(display, -1, global.x(), global.y(), 0);
    XFlush(display);
}

void XTestPointer::press(bool down)
{
    auto *display = static_cast<Display *>(m_display);
    XTestFakeButtonEvent(display, 1, down ? True : False, 0);
    XFlush(display);
}
