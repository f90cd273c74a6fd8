#pragma once

#include <QtGlobal>
#include <qnamespace.h>

// Keys reach the island's logic as the virtual key codes of a Mac keyboard,
// whatever the platform. keyCodeFromQt() is the one translation table.
namespace KeyCode {
enum : int {
    A = 0, S = 1, D = 2, F = 3, H = 4, G = 5, Z = 6, X = 7, C = 8, V = 9,
    B = 11, Q = 12, W = 13, E = 14, R = 15, Y = 16, T = 17,
    Digit1 = 18, Digit2 = 19, Digit3 = 20, Digit4 = 21, Digit6 = 22, Digit5 = 23,
    Equal = 24, Digit9 = 25, Digit7 = 26, Minus = 27, Digit8 = 28, Digit0 = 29,
    RightBracket = 30, O = 31, U = 32, LeftBracket = 33, I = 34, P = 35,
    Return = 36, L = 37, J = 38, Quote = 39, K = 40, Semicolon = 41, Backslash = 42,
    Comma = 43, Slash = 44, N = 45, M = 46, Period = 47,
    Tab = 48, Space = 49, Grave = 50, Delete = 51, Escape = 53,
    KeypadDecimal = 65, KeypadMultiply = 67, KeypadPlus = 69, KeypadClear = 71,
    KeypadDivide = 75, KeypadEnter = 76, KeypadMinus = 78, KeypadEquals = 81,
    Keypad0 = 82, Keypad1 = 83, Keypad2 = 84, Keypad3 = 85, Keypad4 = 86,
    Keypad5 = 87, Keypad6 = 88, Keypad7 = 89, Keypad8 = 91, Keypad9 = 92,
    F5 = 96, F6 = 97, F7 = 98, F3 = 99, F8 = 100, F9 = 101, F11 = 103, F13 = 105,
    F16 = 106, F14 = 107, F10 = 109, F12 = 111, F15 = 113, Home = 115, PageUp = 116,
    ForwardDelete = 117, F4 = 118, End = 119, F2 = 120, PageDown = 121, F1 = 122,
    F17 = 64, F18 = 79, F19 = 80, F20 = 90,
    LeftArrow = 123, RightArrow = 124, DownArrow = 125, UpArrow = 126,
    Unknown = -1,
};
} // namespace KeyCode

// Qt key (and keypad modifier) to Mac virtual key code; KeyCode::Unknown when
// the key has no counterpart.
int keyCodeFromQt(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The Qt key of the Latin character a US keyboard types at a key code's place
// (unshifted: Qt::Key_Q, Qt::Key_Comma, Qt::Key_1), or 0 when the place types none.
int latinQtKeyAt(int keyCode);
