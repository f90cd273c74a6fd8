#include "tools/rational.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr qint64 Max = std::numeric_limits<qint64>::max();

std::optional<Rational> R(qint64 n, qint64 d = 1)
{
    return Rational::make(n, d);
}

TEST(RationalTest, NormalisesSignAndLowestTerms)
{
    EXPECT_EQ(R(-2, 4), (Rational{-1, 2}));
    EXPECT_EQ(R(3, -6), (Rational{-1, 2}));
    EXPECT_EQ(R(4, 2), (Rational{2, 1}));
    EXPECT_EQ(R(0, -5), (Rational{0, 1}));
    EXPECT_EQ(R(7, 0), (Rational{7, 1}));
    // The most negative value is never stored.
    EXPECT_EQ(R(std::numeric_limits<qint64>::min(), 2), std::nullopt);
    EXPECT_EQ(R(1, std::numeric_limits<qint64>::min()), std::nullopt);
}

TEST(RationalTest, ArithmeticIsExactAndReportsOverflow)
{
    const Rational third{1, 3}, sixth{1, 6}, half{1, 2};
    EXPECT_EQ(third.adding(sixth), half);
    EXPECT_EQ(half.subtracting(half), Rational::zero());
    EXPECT_EQ(third.divided(Rational::zero()), std::nullopt);
    EXPECT_EQ(Rational::zero().divided(third), Rational::zero());
    EXPECT_EQ(third.divided(Rational{-1, 3}), (Rational{-1, 1}));
    EXPECT_EQ((Rational{2, 3}).multiplied(Rational{3, 4}), half);

    EXPECT_EQ((Rational{Max, 1}).adding(Rational{1, 1}), std::nullopt);
    // Exactly the most negative value: still an overflow.
    EXPECT_EQ((Rational{-(qint64(1) << 62), 1}).multiplied(Rational{2, 1}), std::nullopt);
    EXPECT_EQ((Rational{qint64(1) << 32, 1}).multiplied(Rational{qint64(1) << 32, 1}), std::nullopt);
    // No cross-cancelling: the exact product fits, the intermediate does not.
    EXPECT_EQ((Rational{Max, 2}).multiplied(Rational{2, Max}), std::nullopt);
}

struct ParseCase {
    const char *text;
    std::optional<Rational> value;
};

class RationalParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(RationalParseTest, ReadsTypedDecimals)
{
    EXPECT_EQ(Rational::parse(QString::fromUtf8(GetParam().text)), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RationalParseTest,
    ::testing::Values(ParseCase{"", Rational{0, 1}}, ParseCase{"-", Rational{0, 1}}, ParseCase{".", Rational{0, 1}},
                      ParseCase{"-.", Rational{0, 1}}, ParseCase{" \t42 ", Rational{42, 1}},
                      ParseCase{"2.50", Rational{5, 2}}, ParseCase{"-0.125", Rational{-1, 8}},
                      ParseCase{"12.", Rational{12, 1}}, ParseCase{"+7", Rational{7, 1}},
                      ParseCase{"1.2.3", std::nullopt}, ParseCase{"0.0000000000001", std::nullopt},
                      ParseCase{"0.000000000001", Rational{1, 1000000000000}},
                      ParseCase{"9223372036854775807", Rational{Max, 1}},
                      ParseCase{"9223372036854775807.5", std::nullopt},
                      // -2^63 has no negation, so no value holds it.
                      ParseCase{"-9223372036854775808", std::nullopt},
                      ParseCase{"-9223372036854775807", Rational{-Max, 1}},
                      // A whole part beyond 64 bits is no number, never 0.5.
                      ParseCase{"123456789012345678901.5", std::nullopt},
                      ParseCase{"123456789012345678901", std::nullopt}, ParseCase{"1.5x", std::nullopt},
                      ParseCase{"\n5", Rational{0, 1}}));

struct TextCase {
    Rational value;
    const char *mixed;
    const char *decimal;
};

class RationalTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(RationalTextTest, WritesMixedAndDecimalTexts)
{
    const TextCase c = GetParam();
    EXPECT_EQ(c.value.mixedText(), QString::fromUtf8(c.mixed));
    EXPECT_EQ(c.value.decimalText(10), QString::fromUtf8(c.decimal));
}

INSTANTIATE_TEST_SUITE_P(Table, RationalTextTest,
                         ::testing::Values(TextCase{{13, 4}, "3 1/4", "3.25"}, TextCase{{-1, 2}, "-1/2", "-0.5"},
                                           TextCase{{-7, 3}, "-2 1/3", "-2.3333333333"},
                                           TextCase{{-7, 1}, "-7", "-7"}, TextCase{{1, 3}, "1/3", "0.3333333333"},
                                           TextCase{{2, 3}, "2/3", "0.6666666667"},
                                           TextCase{{1, 1000000000000}, "1/1000000000000", "0"},
                                           TextCase{{-1, 1000000000000}, "-1/1000000000000", "0"},
                                           TextCase{{1, 8}, "1/8", "0.125"}, TextCase{{123, 1}, "123", "123"},
                                           TextCase{{5, 2}, "2 1/2", "2.5"},
                                           TextCase{{1, 20000000000}, "1/20000000000", "0.0000000001"},
                                           TextCase{{19999999999, 20000000000}, "19999999999/20000000000", "1"},
                                           TextCase{{Max, 2}, "4611686018427387903 1/2", "4611686018427387903.5"}));

TEST(RationalTest, ReadoutStacksMixedNumbers)
{
    EXPECT_EQ((Rational{13, 4}).readout(), CalcReadout::fraction(false, QStringLiteral("3"), "1", "4"));
    EXPECT_EQ((Rational{-1, 2}).readout(), CalcReadout::fraction(true, std::nullopt, "1", "2"));
    EXPECT_EQ(R(4, 2)->readout(), CalcReadout::digits("2"));
    EXPECT_EQ((Rational{-5, 1}).readout(), CalcReadout::digits("-5"));
}

} // namespace
