#include "core/keycodes.h"

#include <QHash>

int keyCodeFromQt(int qtKey, Qt::KeyboardModifiers modifiers)
{
    using namespace KeyCode;
    if (modifiers & Qt::KeypadModifier) {
        static const QHash<int, int> keypad = {
            {Qt::Key_0, Keypad0}, {Qt::Key_1, Keypad1}, {Qt::Key_2, Keypad2},
            {Qt::Key_3, Keypad3}, {Qt::Key_4, Keypad4}, {Qt::Key_5, Keypad5},
            {Qt::Key_6, Keypad6}, {Qt::Key_7, Keypad7}, {Qt::Key_8, Keypad8},
            {Qt::Key_9, Keypad9}, {Qt::Key_Period, KeypadDecimal},
            {Qt::Key_Comma, KeypadDecimal}, {Qt::Key_Asterisk, KeypadMultiply},
            {Qt::Key_Plus, KeypadPlus}, {Qt::Key_Minus, KeypadMinus},
            {Qt::Key_Slash, KeypadDivide}, {Qt::Key_Enter, KeypadEnter},
            {Qt::Key_Equal, KeypadEquals}, {Qt::Key_Clear, KeypadClear},
        };
        const auto it = keypad.constFind(qtKey);
        if (it != keypad.constEnd())
            return *it;
    }
    static const QHash<int, int> table = {
        {Qt::Key_A, A}, {Qt::Key_S, S}, {Qt::Key_D, D}, {Qt::Key_F, F}, {Qt::Key_H, H},
        {Qt::Key_G, G}, {Qt::Key_Z, Z}, {Qt::Key_X, X}, {Qt::Key_C, C}, {Qt::Key_V, V},
        {Qt::Key_B, B}, {Qt::Key_Q, Q}, {Qt::Key_W, W}, {Qt::Key_E, E}, {Qt::Key_R, R},
        {Qt::Key_Y, Y}, {Qt::Key_T, T}, {Qt::Key_O, O}, {Qt::Key_U, U}, {Qt::Key_I, I},
        {Qt::Key_P, P}, {Qt::Key_L, L}, {Qt::Key_J, J}, {Qt::Key_K, K}, {Qt::Key_N, N},
        {Qt::Key_M, M},
        {Qt::Key_1, Digit1}, {Qt::Key_2, Digit2}, {Qt::Key_3, Digit3}, {Qt::Key_4, Digit4},
        {Qt::Key_5, Digit5}, {Qt::Key_6, Digit6}, {Qt::Key_7, Digit7}, {Qt::Key_8, Digit8},
        {Qt::Key_9, Digit9}, {Qt::Key_0, Digit0},
        {Qt::Key_Exclam, Digit1}, {Qt::Key_At, Digit2}, {Qt::Key_NumberSign, Digit3},
        {Qt::Key_Dollar, Digit4}, {Qt::Key_Percent, Digit5}, {Qt::Key_AsciiCircum, Digit6},
        {Qt::Key_Ampersand, Digit7}, {Qt::Key_Asterisk, Digit8}, {Qt::Key_ParenLeft, Digit9},
        {Qt::Key_ParenRight, Digit0},
        {Qt::Key_Equal, Equal}, {Qt::Key_Plus, Equal}, {Qt::Key_Minus, Minus},
        {Qt::Key_Underscore, Minus}, {Qt::Key_BracketRight, RightBracket},
        {Qt::Key_BraceRight, RightBracket}, {Qt::Key_BracketLeft, LeftBracket},
        {Qt::Key_BraceLeft, LeftBracket}, {Qt::Key_Apostrophe, Quote},
        {Qt::Key_QuoteDbl, Quote}, {Qt::Key_Semicolon, Semicolon}, {Qt::Key_Colon, Semicolon},
        {Qt::Key_Backslash, Backslash}, {Qt::Key_Bar, Backslash}, {Qt::Key_Comma, Comma},
        {Qt::Key_Less, Comma}, {Qt::Key_Slash, Slash}, {Qt::Key_Question, Slash},
        {Qt::Key_Period, Period}, {Qt::Key_Greater, Period}, {Qt::Key_QuoteLeft, Grave},
        {Qt::Key_AsciiTilde, Grave},
        {Qt::Key_Return, Return}, {Qt::Key_Enter, Return}, {Qt::Key_Tab, Tab},
        {Qt::Key_Space, Space}, {Qt::Key_Backspace, Delete}, {Qt::Key_Escape, Escape},
        {Qt::Key_Delete, ForwardDelete}, {Qt::Key_Home, Home}, {Qt::Key_End, End},
        {Qt::Key_PageUp, PageUp}, {Qt::Key_PageDown, PageDown},
        {Qt::Key_Left, LeftArrow}, {Qt::Key_Right, RightArrow},
        {Qt::Key_Down, DownArrow}, {Qt::Key_Up, UpArrow},
        {Qt::Key_F1, F1}, {Qt::Key_F2, F2}, {Qt::Key_F3, F3}, {Qt::Key_F4, F4},
        {Qt::Key_F5, F5}, {Qt::Key_F6, F6}, {Qt::Key_F7, F7}, {Qt::Key_F8, F8},
        {Qt::Key_F9, F9}, {Qt::Key_F10, F10}, {Qt::Key_F11, F11}, {Qt::Key_F12, F12},
        {Qt::Key_F13, F13}, {Qt::Key_F14, F14}, {Qt::Key_F15, F15}, {Qt::Key_F16, F16},
        {Qt::Key_F17, F17}, {Qt::Key_F18, F18}, {Qt::Key_F19, F19}, {Qt::Key_F20, F20},
    };
    const auto it = table.constFind(qtKey);
    return it == table.constEnd() ? KeyCode::Unknown : *it;
}

int latinQtKeyAt(int keyCode)
{
    static const QHash<int, int> table = [] {
        QHash<int, int> t;
        for (int k = Qt::Key_A; k <= Qt::Key_Z; ++k)
            t.insert(keyCodeFromQt(k), k);
        for (int k = Qt::Key_0; k <= Qt::Key_9; ++k)
            t.insert(keyCodeFromQt(k), k);
        for (int k : {Qt::Key_Equal, Qt::Key_Minus, Qt::Key_BracketRight, Qt::Key_BracketLeft, Qt::Key_Apostrophe,
                      Qt::Key_Semicolon, Qt::Key_Backslash, Qt::Key_Comma, Qt::Key_Slash, Qt::Key_Period,
                      Qt::Key_QuoteLeft})
            t.insert(keyCodeFromQt(k), k);
        return t;
    }();
    return table.value(keyCode, 0);
}
