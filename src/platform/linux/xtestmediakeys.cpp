#include "platform/linux/xtestmediakeys.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace platform {

XTestMediaKeys::XTestMediaKeys() = default;

XTestMediaKeys::~XTestMediaKeys()
{
    if (m_display)
        XCloseDisplay(m_display);
}

unsigned long XTestMediaKeys::keysymFor(int type)
{
    switch (type) {
    case 16: return 0x1008FF14; // XF86AudioPlay
    case 17: return 0x1008FF17; // XF86AudioNext
    case 18: return 0x1008FF16; // XF86AudioPrev
    default: return 0;
    }
}

bool XTestMediaKeys::sendMediaKey(int type, bool down)
{
    const unsigned long keysym = keysymFor(type);
    if (!keysym)
        return false;
    if (!m_display && !m_tried) {
        m_tried = true;
        m_display = XOpenDisplay(nullptr);
        int event = 0, error = 0, major = 0, minor = 0;
        if (m_display && !XTestQueryExtension(m_display, &event, &error, &major, &minor)) {
            XCloseDisplay(m_display);
            m_display = nullptr;
        }
    }
    if (!m_display)
        return false;
    const KeyCode code = XKeysymToKeycode(m_display, keysym);
    if (!code)
        return false;
    XTestFakeKeyEvent(m_display, code, down ? True : False, CurrentTime);
    XFlush(m_display);
    return true;
}

} // namespace platform
