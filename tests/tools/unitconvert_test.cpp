#include "tools/unitconvert.h"

#include <gtest/gtest.h>

using namespace UnitConvert;

TEST(UnitConvertTest, UnitConversionLines)
{
    struct Case { QString value; ConvertMode mode; const char *expected; };
    const QList<Case> cases = {
        {"32", ConvertMode::temp, "32.0 °F → 0.0 °C   ·   32.0 °C → 89.6 °F"},
        {"-40", ConvertMode::temp, "-40.0 °F → -40.0 °C   ·   -40.0 °C → -40.0 °F"},
        {"1,5", ConvertMode::length, "1.50 in → 3.81 cm   ·   1.50 cm → 0.59 in"},
        {"", ConvertMode::time, "0 min → 0.00 hr   ·   0.00 hr → 0 min"},
        {"abc", ConvertMode::time, "0 min → 0.00 hr   ·   0.00 hr → 0 min"},
        {" 5", ConvertMode::time, "0 min → 0.00 hr   ·   0.00 hr → 0 min"},
        {"90", ConvertMode::time, "90 min → 1.50 hr   ·   90.00 hr → 5400 min"},
        {"16", ConvertMode::px, "16.0 px → 12.0 pt   ·   16.0 pt → 21.3 px"},
        {"+1e1", ConvertMode::px, "10.0 px → 7.5 pt   ·   10.0 pt → 13.3 px"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(conversionLine(c.value, c.mode), QString::fromUtf8(c.expected)) << c.value.toStdString();
}

