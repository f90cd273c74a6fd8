#pragma once

#include <QString>
#include <QtGlobal>

class QKeyEvent;

// One key press as the island's key routing sees it: the physical key as a
// Mac virtual key code (so WASD stays WASD on any layout) and the text the key
// produces without Control or Alt, for the word game.
struct IslandKey {
    int keyCode = -1;
    QString characters;

    static IslandKey fromEvent(const QKeyEvent &event);
    // From an X11 keycode (nativeScanCode) or, when that is 0, the Qt key.
    static IslandKey make(quint32 x11Keycode, int qtKey, const QString &text);
    // Mac virtual key code of the key at an X11 keycode (evdev code + 8) on
    // a standard PC keyboard; -1 for keys the island does not use.
    static int macKeyCode(quint32 x11Keycode);

    bool operator==(const IslandKey &) const = default;
};
