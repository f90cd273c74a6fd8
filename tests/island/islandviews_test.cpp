#include "island/decorations.h"
#include "island/islandlook.h"
#include "style/islandstyle.h"
#include "services/timerstore.h"
#include "support/islandqml.h"

#include <QFontMetricsF>
#include <QQmlComponent>
#include <QQmlContext>
#include <gtest/gtest.h>

namespace {
QQuickItem *itemWithText(QQuickItem *root, const QString &text)
{
    for (QQuickItem *child : root->childItems()) {
        if (child->property("text").toString() == text)
            return child;
        if (QQuickItem *found = itemWithText(child, text))
            return found;
    }
    return nullptr;
}

QString allText(QQuickItem *item)
{
    QString text = item->property("text").toString();
    for (QQuickItem *child : item->childItems())
        text += QLatin1Char('|') + allText(child);
    return text;
}
} // namespace

// The root view swaps its content with the state and wears the glow of a
// pulse or a running timer; a HUD pulse lies over an open panel.
TEST_F(IslandViewTest, RootViewShowsTheContentOfTheState)
{
    fakes->settings.setShowClockWhenIdle(false);
    QQuickItem *view = load("NotchView.qml", withModel({{"width", 296}, {"height", 72}}));
    ASSERT_TRUE(view);
    EXPECT_FALSE(findItem(view, "HoverIsland"));
    model->setState(NotchState::hover);
    QQuickItem *hover = findItem(view, "HoverIsland");
    ASSERT_TRUE(hover);
    EXPECT_TRUE(itemWithText(hover, "Pavlet"));

    model->collapse();
    EXPECT_TRUE(waitUntil([&] { return !findItem(view, "HoverIsland"); }, 3000));

    model->powerModeChanged(true);
    ASSERT_EQ(model->state(), NotchState::hover);
    EXPECT_TRUE(allText(view).contains(QStringLiteral("Low Power Mode on  \u00B7  ")));
    EXPECT_TRUE(view->property("glow").value<IslandGlow>().ambient());
    model->collapse();
    model->timer()->start();
    EXPECT_TRUE(view->property("glow").value<IslandGlow>().timer());

    fakes->settings.setShowSystemHUD(true);
    model->openHome();
    model->handleHUD({SystemHUDKind::brightness, 0.2, false});
    EXPECT_TRUE(findItem(view, "SystemHUDIsland"));
    // A moment of running for warnings that would come late; nothing to wait for.
    spin(50);
    EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
}

TEST_F(IslandViewTest, EditorControlsFollowThePhaseAndResetToIdle)
{
    QQuickItem *controls = load("IslandEditControlsView.qml", withModel());
    ASSERT_TRUE(controls);
    fakes->settings.setLipDrop(5);
    model->setIslandEditPreview(IslandEditPreview::timer);

    QQuickItem *drop = itemWithText(controls, "Drop");
    ASSERT_TRUE(drop);
    EXPECT_TRUE(drop->isVisible());
    QQuickItem *reset = itemWithText(controls, "Reset notch");
    ASSERT_TRUE(reset);
    QMetaObject::invokeMethod(reset, "clicked");
    EXPECT_EQ(fakes->settings.lipDrop(), 16);
    EXPECT_EQ(model->islandEditPreview(), IslandEditPreview::idle);

    // The floating pill trades Drop, Sides and Round for Y.
    controls->setProperty("showsFloatingPill", true);
    EXPECT_FALSE(itemWithText(controls, "Drop"));

    model->setIslandEditPhase(IslandEditPhase::expanded);
    EXPECT_FALSE(reset->isVisible());
    EXPECT_TRUE(itemWithText(controls, "Reset expanded")->isVisible());
    EXPECT_TRUE(itemWithText(controls, "Expanded island"));
    EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
}

// The decorations read the one animation clock: stepping the fake scheduler
// moves a swaying mascot and blinks the smile; a mascot on legs stands still.
TEST_F(IslandViewTest, DecorationsMoveWithTheAnimationClock)
{
    QQuickItem *upright = load("look/PavletMascot.qml", {{"size", 30}});
    QQuickItem *flying = load("look/PavletMascot.qml", {{"size", 20}, {"tilt", -24}});
    QQuickItem *smile = load("BlinkSmile.qml");
    ASSERT_TRUE(upright && flying && smile);
    EXPECT_TRUE(upright->property("swaying").toBool());
    EXPECT_FALSE(flying->property("swaying").toBool());
    const double t0 = upright->property("t").toDouble();
    const double f0 = flying->property("t").toDouble();
    advance(150);
    EXPECT_NEAR(upright->property("t").toDouble(), t0 + 0.15, 0.051);
    EXPECT_EQ(flying->property("t").toDouble(), f0);

    EXPECT_FALSE(smile->property("blink").toBool());
    advance(3400 - 150);
    EXPECT_TRUE(smile->property("blink").toBool());
    advance(110);
    EXPECT_FALSE(smile->property("blink").toBool());
}

// The temperature takes the face with equal-width digits, the editor's
// controls stack 12 apart, and the mirror's Close springs like every button.
TEST_F(IslandViewTest, TemperatureDigitsEditorSpacingAndMirrorClose)
{
    model->setState(NotchState::hover);
    QQuickItem *hover = load("HoverIsland.qml", withModel());
    ASSERT_TRUE(hover);
    auto *temperature = hover->property("temperature").value<QQmlComponent *>();
    ASSERT_TRUE(temperature);
    std::unique_ptr<QObject> text(temperature->create(qmlContext(hover)));
    ASSERT_TRUE(text);
    const QFont font = text->property("font").value<QFont>();
    IslandStyle style;
    EXPECT_EQ(font.family(), style.property("digitsFamily").toString());
    const QFontMetricsF metrics(font);
    for (QChar digit : QStringLiteral("123456789"))
        EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(digit), metrics.horizontalAdvance(QLatin1Char('0'))) << digit.toLatin1();

    QQuickItem *controls = load("IslandEditControlsView.qml", withModel());
    ASSERT_TRUE(controls);
    auto *stack = controls->findChild<QQuickItem *>("controlsStack");
    ASSERT_TRUE(stack);
    EXPECT_EQ(stack->property("spacing").toDouble(), 12);

    QQuickItem *mirror = load("MirrorPanel.qml", withModel());
    ASSERT_TRUE(mirror);
    auto *close = mirror->findChild<QQuickItem *>("mirrorClose");
    ASSERT_TRUE(close);
    EXPECT_TRUE(QString::fromLatin1(close->metaObject()->className()).startsWith("IslandPressStyle"));
    EXPECT_TRUE(itemWithText(close, "Close"));
    EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
}

// The root view shows, for each open state, the panel its table holds for
// that state, and nothing (without a warning) where the table holds none.
TEST_F(IslandViewTest, EachOpenStateShowsItsPanelFromTheTable)
{
    QQmlComponent scene(engine());
    scene.setData(R"(
import QtQuick
import Pavlet
NotchView {
    panels: IslandPanels {
        home: Component { Item { objectName: "home" } }
        canvas: Component { Item { objectName: "canvas" } }
        games: Component { Item { objectName: "games" } }
        calculator: Component { Item { objectName: "calculator" } }
        pocket: Component { Item { objectName: "pocket" } }
        voice: Component { Item { objectName: "voice" } }
        translator: Component { Item { objectName: "translator" } }
    }
}
)",
                  QUrl::fromLocalFile(tempPath("Island.qml")));
    std::unique_ptr<QObject> made(scene.createWithInitialProperties(withModel({{"width", 400}, {"height", 400}})));
    auto *view = qobject_cast<QQuickItem *>(made.get());
    ASSERT_TRUE(view) << scene.errorString().toStdString();
    view->setParentItem(window->contentItem());

    const QList<std::pair<NotchState, QString>> shown = {
        {NotchState::home, "home"},
        {NotchState::canvas, "canvas"},
        {NotchState::games, "games"},
        {NotchState::calculator, "calculator"},
        {NotchState::pocket, "pocket"},
        {NotchState::voice, "voice"},
        {NotchState::translator, "translator"},
    };
    // The panels in the frame of the current state (a frame that is leaving
    // stays a moment longer).
    const auto current = [&] {
        QStringList names;
        for (const auto &[state, name] : shown) {
            for (auto *item : view->findChildren<QQuickItem *>(name)) {
                QQuickItem *frame = item->parentItem() ? item->parentItem()->parentItem() : nullptr;
                if (frame && frame->property("forState").toInt() == int(model->state()))
                    names << name;
            }
        }
        return names;
    };
    for (const auto &[state, name] : shown) {
        model->setState(state);
        EXPECT_EQ(current(), QStringList{name}) << name.toStdString();
    }
    model->setState(NotchState::update);
    EXPECT_TRUE(current().isEmpty());
    // The panels still fading out take no input.
    for (const auto &[state, name] : shown) {
        for (auto *item : view->findChildren<QQuickItem *>(name))
            EXPECT_FALSE(item->isEnabled()) << name.toStdString() << " is leaving yet takes clicks";
    }
    // A moment of their fade for warnings that would come late; nothing to wait for.
    spin(50);
    made.reset();
    EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
}
