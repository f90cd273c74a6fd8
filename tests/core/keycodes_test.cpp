#include "core/keycodes.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

TEST(KeyCodesTest, QtKeysBecomeMacVirtualKeyCodes)
{
    const struct {
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        int expected;
    } cases[] = {
        {Qt::Key_A, Qt::NoModifier, 0},
        {Qt::Key_Z, Qt::NoModifier, 6},
        {Qt::Key_Q, Qt::NoModifier, 12},
        {Qt::Key_1, Qt::NoModifier, 18},
        {Qt::Key_0, Qt::NoModifier, 29},
        {Qt::Key_Return, Qt::NoModifier, 36},
        {Qt::Key_Enter, Qt::NoModifier, 36},
        {Qt::Key_Tab, Qt::NoModifier, 48},
        {Qt::Key_Space, Qt::NoModifier, 49},
        {Qt::Key_Backspace, Qt::NoModifier, 51},
        {Qt::Key_Escape, Qt::NoModifier, 53},
        {Qt::Key_Delete, Qt::NoModifier, 117},
        {Qt::Key_F1, Qt::NoModifier, 122},
        {Qt::Key_F12, Qt::NoModifier, 111},
        {Qt::Key_Left, Qt::NoModifier, 123},
        {Qt::Key_Up, Qt::NoModifier, 126},
        // A shifted symbol is the key it sits on.
        {Qt::Key_Exclam, Qt::ShiftModifier, 18},
        {Qt::Key_Question, Qt::ShiftModifier, 44},
        {Qt::Key_BraceLeft, Qt::ShiftModifier, 33},
        // The keypad has codes of its own, with and without Num Lock's digits.
        {Qt::Key_5, Qt::KeypadModifier, 87},
        {Qt::Key_8, Qt::KeypadModifier, 91},
        {Qt::Key_Enter, Qt::KeypadModifier, 76},
        {Qt::Key_Plus, Qt::KeypadModifier, 69},
        {Qt::Key_Left, Qt::KeypadModifier, 123},
        // Keys a Mac keyboard lacks.
        {Qt::Key_Print, Qt::NoModifier, KeyCode::Unknown},
        {Qt::Key_VolumeUp, Qt::NoModifier, KeyCode::Unknown},
        {0, Qt::NoModifier, KeyCode::Unknown},
    };
    for (const auto &c : cases)
        EXPECT_EQ(keyCodeFromQt(c.qtKey, c.modifiers), c.expected) << "Qt key 0x" << std::hex << c.qtKey;
}

TEST(KeyCodesTest, LettersDigitsAndFunctionKeysNeverShareACode)
{
    QSet<int> seen;
    auto add = [&](int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const int code = keyCodeFromQt(qtKey, modifiers);
        EXPECT_NE(code, KeyCode::Unknown) << "Qt key 0x" << std::hex << qtKey;
        EXPECT_FALSE(seen.contains(code)) << "code " << code << " given twice";
        seen.insert(code);
    };
    for (int k = Qt::Key_A; k <= Qt::Key_Z; ++k)
        add(k);
    for (int k = Qt::Key_0; k <= Qt::Key_9; ++k) {
        add(k);
        add(k, Qt::KeypadModifier);
    }
    for (int k = Qt::Key_F1; k <= Qt::Key_F20; ++k)
        add(k);
    EXPECT_EQ(seen.size(), 26 + 20 + 20);
}

} // namespace
