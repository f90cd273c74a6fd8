#include "core/keycodes.h"
#include "support/qtprinters.h"
#include "tools/calculatorengine.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

// A key as the island window reports it; ctrl: with Ctrl held.
KeyInput press(const QString &text, int keyCode, bool ctrl)
{
    KeyInput k;
    k.text = text;
    k.keyCode = keyCode;
    k.control = ctrl;
    return k;
}

// Presses keys written as a string: digits, "+-*/" (as ×, ÷), "=", ".",
// "%", "s" (sign), "f" (a b/c), "<" (backspace), "c" (AC), " " ignored.
void type(CalculatorEngine &calc, const char *keys)
{
    for (const char *k = keys; *k; ++k) {
        const char c = *k;
        if (c >= '0' && c <= '9')
            calc.press(CalcKey::ofDigit(c - '0'));
        else if (c == '+')
            calc.press(CalcKey::ofOp(CalcOp::add));
        else if (c == '-')
            calc.press(CalcKey::ofOp(CalcOp::sub));
        else if (c == '*')
            calc.press(CalcKey::ofOp(CalcOp::mul));
        else if (c == '/')
            calc.press(CalcKey::ofOp(CalcOp::div));
        else if (c == '=')
            calc.press(CalcKey::of(CalcKey::Kind::equals));
        else if (c == '.')
            calc.press(CalcKey::of(CalcKey::Kind::dot));
        else if (c == '%')
            calc.press(CalcKey::of(CalcKey::Kind::percent));
        else if (c == 's')
            calc.press(CalcKey::of(CalcKey::Kind::sign));
        else if (c == 'f')
            calc.press(CalcKey::of(CalcKey::Kind::fraction));
        else if (c == '<')
            calc.press(CalcKey::of(CalcKey::Kind::backspace));
        else if (c == 'c')
            calc.press(CalcKey::of(CalcKey::Kind::ac));
    }
}

struct Sequence {
    const char *keys;
    const char *display;
    const char *expression = "";
};

class CalculatorSequenceTest : public ::testing::TestWithParam<Sequence> {};

TEST_P(CalculatorSequenceTest, ShowsTheExpectedScreen)
{
    CalculatorEngine calc;
    type(calc, GetParam().keys);
    EXPECT_EQ(calc.display(), QString::fromUtf8(GetParam().display)) << GetParam().keys;
    EXPECT_EQ(calc.expression(), QString::fromUtf8(GetParam().expression)) << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CalculatorSequenceTest,
    ::testing::Values(Sequence{"1/3=", "1/3"}, Sequence{"1/3=f", "0.3333333333"}, Sequence{"1/3=ff", "1/3"},
                      Sequence{"2/4=", "1/2"}, Sequence{"1/1024=", "0.0009765625"}, Sequence{"2+3=", "5"},
                      Sequence{"2+3==", "8"}, Sequence{"2+3===", "11"}, Sequence{"2+3*4=", "20"},
                      Sequence{"5+*", "10", "10 \u00D7"}, Sequence{"12+", "12", "12 +"},
                      Sequence{"7/0=", "Error"}, Sequence{"7/0=5+", "Error"}, Sequence{"7/0=c", "0"},
                      Sequence{"7/0=<", "0"}, Sequence{"3f0", "Error"}, Sequence{"1f3f4=", "1 3/4"},
                      Sequence{"3f4", "3/4"}, Sequence{"1f3f", "1 3/ "}, Sequence{"1f3f4", "1 3/4"},
                      Sequence{"5s<", "0"}, Sequence{"12.5<", "12."}, Sequence{"9999999999999", "999999999999"},
                      Sequence{"200+10%", "20", "200 +"}, Sequence{"200+10%=", "220"}, Sequence{"50%", "1/2"},
                      Sequence{"2.5f", "2 1/2"}, Sequence{"2.5ff", "2.5"}, Sequence{".5", "0.5"},
                      Sequence{"s", "0"}, Sequence{"1/2=*", "1/2", "1/2 \u00D7"}, Sequence{"1f2<<", "1"},
                      Sequence{"3s4f", "-34/ "}, Sequence{"999999999999*999999999999=", "Error"}));

TEST(CalculatorTest, ReadoutFollowsTheFractionEntry)
{
    CalculatorEngine calc;
    type(calc, "1f");
    EXPECT_EQ(calc.readout(), CalcReadout::fraction(false, std::nullopt, "1", " "));
    type(calc, "3f");
    EXPECT_EQ(calc.readout(), CalcReadout::fraction(false, QStringLiteral("1"), "3", " "));
    type(calc, "4=");
    EXPECT_EQ(calc.readout(), CalcReadout::fraction(false, QStringLiteral("1"), "3", "4"));
    EXPECT_TRUE(calc.showAsFraction());
    type(calc, "c");
    EXPECT_EQ(calc.readout(), CalcReadout::digits("0"));
    EXPECT_FALSE(calc.showAsFraction());
}

TEST(CalculatorTest, PublishesOnlyRealChanges)
{
    CalculatorEngine calc;
    QSignalSpy display(&calc, &CalculatorEngine::displayChanged);
    QSignalSpy error(&calc, &CalculatorEngine::errorChanged);
    type(calc, "0");
    EXPECT_EQ(display.count(), 0);
    type(calc, "7/0=");
    EXPECT_EQ(error.count(), 1);
    type(calc, "55");
    EXPECT_EQ(error.count(), 1);
}

TEST(CalculatorTest, HardwareKeysMapToPadKeys)
{
    CalculatorEngine calc;
    EXPECT_FALSE(calc.handleKey(press("1", KeyCode::Digit1, true)));
    EXPECT_EQ(calc.display(), "0");
    EXPECT_TRUE(calc.handleKey(press("1", KeyCode::Digit1, false)));
    EXPECT_TRUE(calc.handleKey(press("x", KeyCode::X, false)));
    EXPECT_TRUE(calc.handleKey(press("3", KeyCode::Digit3, false)));
    EXPECT_TRUE(calc.handleKey(press("", KeyCode::Return, false)));
    EXPECT_EQ(calc.display(), "3");
    EXPECT_TRUE(calc.handleKey(press("", KeyCode::KeypadDivide, false)));
    EXPECT_TRUE(calc.handleKey(press("0", KeyCode::Digit0, false)));
    EXPECT_TRUE(calc.handleKey(press("\r", KeyCode::Return, false)));
    EXPECT_EQ(calc.display(), "Error");
    // In the error state a digit is consumed and changes nothing.
    EXPECT_TRUE(calc.handleKey(press("4", KeyCode::Digit4, false)));
    EXPECT_EQ(calc.display(), "Error");
    EXPECT_TRUE(calc.handleKey(press("", KeyCode::Delete, false)));
    EXPECT_EQ(calc.display(), "0");
    EXPECT_FALSE(calc.handleKey(press("q", KeyCode::Q, false)));
    EXPECT_FALSE(calc.handleKey(press("", KeyCode::LeftArrow, false)));
    EXPECT_TRUE(calc.handleQtKey(Qt::Key_5, Qt::KeypadModifier, "5"));
    EXPECT_EQ(calc.display(), "5");
    EXPECT_FALSE(calc.handleQtKey(Qt::Key_5, Qt::ControlModifier, "5"));
}

} // namespace
