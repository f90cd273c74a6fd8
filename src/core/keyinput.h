#pragma once

#include <QString>
#include <QtGlobal>
#include <qnamespace.h>

class QKeyEvent;

// A key press as the island's logic sees it: a Mac virtual key code (by key
// position) and the modifiers by their Mac names. Ctrl is control, Alt is
// option, Meta (the Super key) is command; shortcuts that want command also
// take Ctrl (commandLike()).
struct KeyInput {
    int keyCode = -1;
    bool control = false;
    bool option = false;
    bool command = false;
    bool shift = false;
    bool autoRepeat = false;
    QString text;

    bool operator==(const KeyInput &) const = default;

    // From a Qt key event: the native X11 key code when the event carries
    // one, else the Qt key.
    static KeyInput fromEvent(const QKeyEvent &event);

    // Control-option-G with command up; shift does not matter.
    bool isGameModeChord() const;
    bool commandLike() const { return command || control; }
};

// Mac virtual key code for an X11 key code (evdev + 8), or -1.
int keyCodeFromX11(quint32 x11KeyCode);
