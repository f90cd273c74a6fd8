#pragma once

#include "platform/keypositions.h"

#include <QtGlobal>

namespace platform {

// Key places from the X server's key codes, which follow the keyboard's
// evdev scan codes. Under any other window system the events carry no X key
// code and the place is unknown.
class X11KeyPositions : public platform::IKeyPositions {
public:
    X11KeyPositions();
    int keyCode(const QKeyEvent &event) const override;

    // The key code for an X11 key code (evdev + 8), or KeyCode::Unknown.
    static int fromX11(quint32 x11KeyCode);

private:
    bool m_onX11;
};

} // namespace platform
