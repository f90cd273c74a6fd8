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

namespace {
CanvasAssignment work(const QString &title, const QString &course, qint64 dueInHours, std::optional<double> points,
                      bool quiz = false)
{
    CanvasAssignment a;
    a.id = QStringLiteral("canvas-") + title;
    a.title = title;
    a.course = course;
    a.dueAt = QDateTime::fromMSecsSinceEpoch(FakeClock::DefaultStart).addSecs(dueInHours * 3600);
    a.points = points;
    a.isQuiz = quiz;
    a.overdue = dueInHours < 0;
    a.url = QUrl(QStringLiteral("https://school.example/a/") + title);
    return a;
}
} // namespace

TEST_F(ToolShots, PlannerSignedOutEmptyAndFull)
{
    model->setState(NotchState::canvas);
    QImage image = shoot(QStringLiteral("canvas-signed-out"));
    EXPECT_EQ(image.width(), 400);
    // The mark's red ring at the header's leading side.
    EXPECT_TRUE(anyNear(image, QRect(30, 0, 50, 70), IslandPalette::redColor));

    bool saved = false;
    fakes->credentials.save(QStringLiteral("https://school.example"), QStringLiteral("token"), [&] { saved = true; });
    ASSERT_TRUE(waitUntil([&] { return saved; }));
    model->setCanvasUserName(QStringLiteral("Ada Lovelace"));
    shoot(QStringLiteral("canvas-caught-up"));

    model->setCanvasBoard({{work("Essay draft", "History", -20, 10), work("Lab report", "Chemistry", -3, 25)},
                           {work("Reading quiz", "Biology", 5, 12.5, true)},
                           {work("Problem set 4", "Calculus", 30, 20), work("Discussion", "History", 52, {}),
                            work("Final project", "Design", 120, 100)}});
    image = shoot(QStringLiteral("canvas-sections"));
    // The three section colours.
    EXPECT_TRUE(anyNear(image, QRect(0, 60, 60, image.height() - 60), IslandPalette::coralColor));
    EXPECT_TRUE(anyNear(image, QRect(0, 60, 60, image.height() - 60), IslandPalette::amberColor));
    EXPECT_TRUE(anyNear(image, QRect(0, 60, 60, image.height() - 60), IslandPalette::mintColor));
}
