#include "island/animationclock.h"
#include "island/islandpalette.h"
#include "support/pavlettest.h"
#include "support/qmltest.h"

#include <QColor>
#include <QQuickItem>

class IslandQmlTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        IslandPalette::setDefaults(&qml.engine(), defaults.get());
        AnimationClock::setSource(&qml.engine(), &clock, scheduler.get());
    }
    QmlLoader qml;
};

TEST_F(IslandQmlTest, EveryChromeFileLoadsWithoutWarnings)
{
    for (const char *file : {"island/HangShape.qml", "island/IslandShape.qml", "island/IslandPressStyle.qml",
                             "island/IslandIconButton.qml", "notch/GameModeToast.qml"}) {
        auto object = qml.create(QString::fromLatin1(file));
        EXPECT_TRUE(object) << file;
    }
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}

TEST_F(IslandQmlTest, ToastTextsFollowTheLock)
{
    auto toast = qml.create("notch/GameModeToast.qml", {{"isOn", true}});
    ASSERT_TRUE(toast);
    auto *title = toast->findChild<QObject *>("title");
    auto *detail = toast->findChild<QObject *>("detail");
    EXPECT_EQ(title->property("text").toString(), "Pavlet Lock is on");
    EXPECT_EQ(detail->property("text").toString(), "Ctrl+Alt+G turns it off");
    toast->setProperty("isOn", false);
    EXPECT_EQ(title->property("text").toString(), "Pavlet Lock is off");
    EXPECT_EQ(detail->property("text").toString(), "Ctrl+Alt+G turns it on");
    // The title takes the custom accent when it is turned on.
    EXPECT_EQ(title->property("color").value<QColor>().rgb(), IslandPalette::yellowColor.rgb());
    defaults->setBool("useCustomAccent", true);
    EXPECT_EQ(title->property("color").value<QColor>().rgb(), IslandPalette::skyColor.rgb());
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}

TEST_F(IslandQmlTest, ShapesClampTheirRadius)
{
    auto shape = qml.create("island/IslandShape.qml",
                            {{"width", 96}, {"height", 32}, {"cornerRadius", 40}, {"floating", true}});
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->property("effectiveRadius").toDouble(), 16);
    shape->setProperty("cornerRadius", -4);
    EXPECT_EQ(shape->property("effectiveRadius").toDouble(), 0);
    auto hang = qml.create("island/HangShape.qml", {{"width", 200}, {"height", 20}, {"cornerRadius", 30}});
    ASSERT_TRUE(hang);
    EXPECT_EQ(hang->property("r").toDouble(), 10);
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}

TEST_F(IslandQmlTest, IconButtonIsA22PointCircleThatShrinksWhilePressed)
{
    auto button = qml.create("island/IslandIconButton.qml", {{"systemName", "xmark"}, {"help", "Close"}});
    ASSERT_TRUE(button);
    auto *item = qobject_cast<QQuickItem *>(button.get());
    EXPECT_EQ(item->implicitWidth(), 22);
    EXPECT_EQ(item->implicitHeight(), 22);
    auto press = qml.create("island/IslandPressStyle.qml", {{"pressed", true}});
    ASSERT_TRUE(press);
    auto *body = qobject_cast<QQuickItem *>(press.get())->childItems().value(0);
    ASSERT_TRUE(body);
    // The spring is on its way to 0.96 / 0.86.
    EXPECT_TRUE(waitUntil([&] { return std::abs(body->scale() - 0.96) < 0.01; }, 2000));
    EXPECT_TRUE(waitUntil([&] { return std::abs(body->opacity() - 0.86) < 0.01; }, 2000));
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
}
