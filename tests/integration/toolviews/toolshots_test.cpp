#include "islandwindowshots.h"

#include "calculatorengine.h"
#include "keycodes.h"

namespace {
KeyInput typed(const QString &text)
{
    KeyInput k;
    k.text = text;
    return k;
}
} // namespace

class ToolShots : public IslandWindowShots {
protected:
    void type(const QString &keys)
    {
        for (QChar c : keys)
            EXPECT_TRUE(controller->handleKeyDown(typed(QString(c)))) << QString(c).toStdString();
    }
};

TEST_F(ToolShots, CalculatorWithAFraction)
{
    model->openCalculator();
    // 1 ÷ 3 + 1, typed through the window's keys: a mixed fraction.
    type(QStringLiteral("1/3=+1="));
    ASSERT_TRUE(model->calculator()->showAsFraction()) << model->calculator()->display().toStdString() << " " << int(model->state());
    const QImage image = shoot(QStringLiteral("calculator-fraction"));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 348);
    // The amber operator keys down the right-hand side.
    EXPECT_TRUE(anyNear(image, QRect(image.width() - 60, image.height() / 2, 40, image.height() / 2 - 20),
                        IslandPalette::amberColor));
}
