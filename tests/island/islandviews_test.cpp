#include "island/islandtypes.h"
#include "store/appsettings.h"
#include "support/islandqml.h"

#include <gtest/gtest.h>

// Every view and decoration loads and runs for a moment without a QML warning.
TEST_F(IslandViewTest, EveryViewLoadsCleanly)
{
    const QList<std::pair<QString, QVariantMap>> views = {
        {"NotchView.qml", withModel()},
        {"CompactIsland.qml", withModel()},
        {"HoverIsland.qml", withModel()},
        {"MirrorPanel.qml", withModel({}, false)},
        {"IslandEditShadeView.qml", withModel({}, false)},
        {"IslandEditControlsView.qml", withModel()},
        {"SystemHUDIsland.qml", {{"pulse", QVariantMap{{"kind", 0}, {"value", 0.5}, {"muted", false}}}}},
        {"CollapsedIdle.qml", {{"timerRunning", true}}},
        {"TickingClock.qml", {}},
        {"BlinkSmile.qml", {}},
        {"SmileArc.qml", {}},
        {"TimerGlow.qml", {}},
        {"AmbientGlow.qml", {{"kind", 1}}},
        {"PavletMascot.qml", {{"legs", 1.0}}},
        {"Symbol.qml", {{"name", "sparkle"}}},
        {"ArcCaption.qml", {{"text", "Notch"}}},
        {"media/PlayingBars.qml", {}},
        {"media/ArtworkView.qml", {}},
    };
    for (const auto &[file, props] : views)
        EXPECT_TRUE(load(file, props)) << file.toStdString();
    spin(120);
    EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
}

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
} // namespace

// The root view swaps its content with the state: the hover island comes in,
// and leaves again when the island collapses.
TEST_F(IslandViewTest, RootViewShowsTheContentOfTheState)
{
    settings->setShowClockWhenIdle(false);
    QQuickItem *view = load("NotchView.qml", withModel());
    ASSERT_TRUE(view);
    EXPECT_FALSE(findItem(view, "HoverIsland"));
    model()->setProperty("state", int(NotchState::hover));
    QQuickItem *hover = findItem(view, "HoverIsland");
    ASSERT_TRUE(hover);
    EXPECT_TRUE(itemWithText(hover, "Pavlet"));

    model()->setProperty("state", int(NotchState::collapsed));
    EXPECT_TRUE(waitUntil([&] { return !findItem(view, "HoverIsland"); }, 3000));

    // A HUD pulse lies over an open panel.
    model()->setProperty("hud", QVariantMap{{"kind", 1}, {"value", 0.5}, {"muted", false}});
    model()->setProperty("state", int(NotchState::mirror));
    EXPECT_TRUE(findItem(view, "SystemHUDIsland"));
    spin(50);
    EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
}

TEST_F(IslandViewTest, EditorControlsFollowThePhaseAndResetToIdle)
{
    QQuickItem *controls = load("IslandEditControlsView.qml", withModel());
    ASSERT_TRUE(controls);
    settings->setLipDrop(5);
    model()->setProperty("islandEditPreview", int(IslandEditPreview::timer));

    QQuickItem *drop = itemWithText(controls, "Drop");
    ASSERT_TRUE(drop);
    EXPECT_TRUE(drop->isVisible());
    QQuickItem *reset = itemWithText(controls, "Reset notch");
    ASSERT_TRUE(reset);
    QMetaObject::invokeMethod(reset, "clicked");
    EXPECT_EQ(settings->lipDrop(), 16);
    EXPECT_EQ(model()->property("islandEditPreview").toInt(), int(IslandEditPreview::idle));

    // The floating pill trades Drop, Sides and Round for Y.
    controls->setProperty("showsFloatingPill", true);
    EXPECT_FALSE(drop->isVisible());

    model()->setProperty("islandEditPhase", int(IslandEditPhase::expanded));
    EXPECT_FALSE(reset->isVisible());
    EXPECT_TRUE(itemWithText(controls, "Reset expanded")->isVisible());
    EXPECT_TRUE(itemWithText(controls, "Expanded island"));
    EXPECT_TRUE(warnings().isEmpty()) << warnings().join('\n').toStdString();
}

TEST_F(IslandViewTest, CompactIslandShowsTheLockOverTheIdleIndicator)
{
    QQuickItem *compact = load("CompactIsland.qml", withModel());
    ASSERT_TRUE(compact);
    settings->setShowAmbientSmile(true);
    settings->setModuleEnabled("gameMode", true);
    QObject *rules = compact->property("rules").value<QObject *>();
    ASSERT_TRUE(rules);
    EXPECT_EQ(rules->property("trailing").toString(), "idle");
    model()->setProperty("gameModeOn", true);
    model()->setProperty("gameModeHover", true);
    EXPECT_EQ(rules->property("trailing").toString(), "lock");
    settings->setModuleEnabled("gameMode", false);
    EXPECT_EQ(rules->property("trailing").toString(), "idle");
}

TEST_F(IslandViewTest, MascotSwaysOnlyUprightWithoutLegs)
{
    QQuickItem *upright = load("PavletMascot.qml", {{"size", 30}});
    QQuickItem *flying = load("PavletMascot.qml", {{"size", 20}, {"tilt", -24}});
    ASSERT_TRUE(upright && flying);
    EXPECT_TRUE(upright->property("swaying").toBool());
    EXPECT_FALSE(flying->property("swaying").toBool());
    const double t0 = upright->property("t").toDouble();
    const double f0 = flying->property("t").toDouble();
    spin(150);
    EXPECT_GT(upright->property("t").toDouble(), t0);
    EXPECT_EQ(flying->property("t").toDouble(), f0);
}
