#include "platform/linux/x11keypositions.h"

#include "core/keycodes.h"

#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>

namespace platform {

X11KeyPositions::X11KeyPositions()
    : m_onX11(QGuiApplication::platformName() == QLatin1String("xcb"))
{
}

int X11KeyPositions::keyCode(const QKeyEvent &event) const
{
    if (!m_onX11 || event.nativeScanCode() == 0)
        return KeyCode::Unknown;
    return fromX11(event.nativeScanCode());
}

int X11KeyPositions::fromX11(quint32 x)
{
    using namespace KeyCode;
    // X11 key codes are the kernel's evdev codes plus 8, by key position.
    static const QHash<quint32, int> table = {
        {9, Escape},
        {10, Digit1}, {11, Digit2}, {12, Digit3}, {13, Digit4}, {14, Digit5},
        {15, Digit6}, {16, Digit7}, {17, Digit8}, {18, Digit9}, {19, Digit0},
        {20, Minus}, {21, Equal}, {22, Delete}, {23, Tab},
        {24, Q}, {25, W}, {26, E}, {27, R}, {28, T}, {29, Y}, {30, U}, {31, I}, {32, O}, {33, P},
        {34, LeftBracket}, {35, RightBracket}, {36, Return},
        {38, A}, {39, S}, {40, D}, {41, F}, {42, G}, {43, H}, {44, J}, {45, K}, {46, L},
        {47, Semicolon}, {48, Quote}, {49, Grave}, {51, Backslash},
        {52, Z}, {53, X}, {54, C}, {55, V}, {56, B}, {57, N}, {58, M},
        {59, Comma}, {60, Period}, {61, Slash}, {63, KeypadMultiply}, {65, Space},
        {67, F1}, {68, F2}, {69, F3}, {70, F4}, {71, F5}, {72, F6}, {73, F7}, {74, F8},
        {75, F9}, {76, F10},
        {79, Keypad7}, {80, Keypad8}, {81, Keypad9}, {82, KeypadMinus}, {83, Keypad4},
        {84, Keypad5}, {85, Keypad6}, {86, KeypadPlus}, {87, Keypad1}, {88, Keypad2},
        {89, Keypad3}, {90, Keypad0}, {91, KeypadDecimal},
        {95, F11}, {96, F12}, {104, KeypadEnter}, {106, KeypadDivide},
        {110, Home}, {111, UpArrow}, {112, PageUp}, {113, LeftArrow}, {114, RightArrow},
        {115, End}, {116, DownArrow}, {117, PageDown}, {119, ForwardDelete}, {125, KeypadEquals},
        {191, F13}, {192, F14}, {193, F15}, {194, F16}, {195, F17}, {196, F18}, {197, F19}, {198, F20},
    };
    return table.value(x, KeyCode::Unknown);
}

} // namespace platform
