#pragma once

#include <QList>
#include <xcb/xcb.h>

namespace platform {

// Passive key grabs on an X root window. Grabs match modifiers exactly, so
// each key is grabbed once per Caps Lock / Num Lock combination.
struct X11KeyGrab {
    xcb_keycode_t keycode;
    quint16 modifiers;
};

// The key codes that type keysym on this server (none when it has no such key).
QList<xcb_keycode_t> x11KeycodesFor(xcb_connection_t *c, quint32 keysym);
// The modifier bit that Num Lock sets on this server (Mod2 when unknown).
quint16 x11NumLockMask(xcb_connection_t *c);
// base with every combination of Caps Lock and Num Lock added.
QList<quint16> x11LockVariants(xcb_connection_t *c, quint16 base);
// Asks for every grab and waits for the answers; false when any was refused
// (the caller gives them all back).
bool x11GrabKeys(xcb_connection_t *c, xcb_window_t root, const QList<X11KeyGrab> &grabs);
void x11UngrabKeys(xcb_connection_t *c, xcb_window_t root, const QList<X11KeyGrab> &grabs);

} // namespace platform
