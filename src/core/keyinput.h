#pragma once

#include <QString>
#include <QtGlobal>
#include <qnamespace.h>

#include <optional>

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

    // The Qt key a shortcut is matched on. A layout that gives the key no
    // Latin letter (Cyrillic, Greek, ...) is matched on the Latin key at its
    // place, as the desktop's other programs do: Ctrl+Q is the key right of
    // Tab on a Russian layout. Any other key keeps the layout's own meaning.
    static int shortcutKey(const QKeyEvent &event, int positionalKeyCode);

    // The first character typed, or for a letter of another script the Latin
    // character at the key's place, in the typed letter's case.
    QChar latinChar() const;

    // Control-option-G with command up; shift does not matter.
    bool isGameModeChord() const;
    bool commandLike() const { return command || control; }
};

// Tells a held key's repeats from fresh presses, fed every key press and
// release of one window. X sends a repeat as a release and a press with the
// same time; Qt marks it a repeat only when the press is already queued
// behind the release, so on a quick machine most repeats of a held key
// arrive looking like fresh presses. A release followed by a press of the
// same key at the same moment is a repeat: no hand lets go and presses again
// within the same millisecond.
class KeyRepeats {
public:
    // For a press: whether it repeats a held key. A release is remembered
    // for the press that may follow it (and says whether it is a repeat's).
    bool isRepeat(const QKeyEvent &event);

private:
    struct Release {
        int key = 0;
        quint32 scanCode = 0;
        quint64 at = 0;
    };
    std::optional<Release> m_release;
};
