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

    // From a Qt key event: the key code of the key's place on the keyboard
    // when the window system tells it (see platform::IKeyPositions), else the Qt key's.
    static KeyInput fromEvent(const QKeyEvent &event, int positionalKeyCode = -1);

    // Control-option-G with command up; shift does not matter.
    bool isGameModeChord() const;
    bool commandLike() const { return command || control; }
};
