#include "appsettings.h"
#include "islandqml.h"

#include <gtest/gtest.h>

// Every view and decoration loads and runs for a moment without a QML warning.
TEST_F(IslandQmlTest, EveryViewLoadsCleanly)
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
        {"IslandOutline.qml", {}},
        {"Symbol.qml", {{"name", "sparkle"}}},
        {"ArcCaption.qml", {{"text", "Notch"}}},
        {"media/PlayingBars.qml", {}},
        {"media/ArtworkView.qml", {}},
    };
    for (const auto &[file, props] : views)
        EXPECT_TRUE(load(file, props)) << file.toStdString();
    spin(120);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}
