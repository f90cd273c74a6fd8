#include "islandkey.h"

#include "keycodes.h"

#include <QHash>
#include <QKeyEvent>

int IslandKey::macKeyCode(quint32 x11Keycode)
{
    using namespace KeyCode;
    static const QHash<quint32, int> table = {
        // Digit row 1...0.
        {10, Digit1}, {11, Digit2}, {12, Digit3}, {13, Digit4}, {14, Digit5},
        {15, Digit6}, {16, Digit7}, {17, Digit8}, {18, Digit9}, {19, Digit0},
        {22, Delete}, {23, Tab},
        // Letter rows, left to right.
        {24, Q}, {25, W}, {26, E}, {27, R}, {28, T}, {29, Y}, {30, U}, {31, I}, {32, O}, {33, P},
        {36, Return},
        {38, A}, {39, S}, {40, D}, {41, F}, {42, G}, {43, H}, {44, J}, {45, K}, {46, L},
        {52, Z}, {53, X}, {54, C}, {55, V}, {56, B}, {57, N}, {58, M},
        {65, Space}, {9, Escape},
        {111, UpArrow}, {113, LeftArrow}, {114, RightArrow}, {116, DownArrow},
    };
    return table.value(x11Keycode, KeyCode::Unknown);
}

IslandKey IslandKey::make(quint32 x11Keycode, int qtKey, const QString &text)
{
    IslandKey key;
    key.keyCode = x11Keycode != 0 ? macKeyCode(x11Keycode) : KeyCode::Unknown;
    if (key.keyCode == KeyCode::Unknown)
        key.keyCode = keyCodeFromQt(qtKey);
    // With Control held the text is a control character; the key's own
    // letter is what the word game wants then.
    const bool printable = !text.isEmpty() && text.at(0).isPrint();
    if (printable)
        key.characters = text;
    else if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        key.characters = QChar(u'a' + (qtKey - Qt::Key_A));
    return key;
}

IslandKey IslandKey::fromEvent(const QKeyEvent &event)
{
    return make(event.nativeScanCode(), event.key(), event.text());
}
