#include "island/islandeditlayout.h"
#include "store/appsettings.h"
#include "support/islandqml.h"

#include <gtest/gtest.h>

using namespace IslandEditLayout;

namespace {
Inputs screenOf(double w, double h, IslandEditPhase phase = IslandEditPhase::hang)
{
    Inputs in;
    in.phase = phase;
    in.screen = QRectF(0, 0, w, h);
    in.visibleHeight = h - 24;
    in.notchRect = QRectF(w / 2 - 100, h - 32, 200, 32);
    return in;
}
} // namespace

TEST(IslandEditLayoutTest, RingAndShadeBandBySize)
{
    const Frames wide = frames(screenOf(1512, 982));
    EXPECT_EQ(wide.ringRadius, 280);
    EXPECT_EQ(wide.shade, QRectF(0, 982 - 320, 1512, 320));
    const Frames narrow = frames(screenOf(900, 700));
    EXPECT_EQ(narrow.ringRadius, 210);
    EXPECT_EQ(narrow.shade.height(), 250);
    EXPECT_EQ(ringRadius(IslandEditPhase::expanded, 1512), 400);
    EXPECT_EQ(ringRadius(IslandEditPhase::expanded, 800), 280);
}

TEST(IslandEditLayoutTest, ControlsSizeAndPlace)
{
    Inputs in = screenOf(1512, 982);
    Frames f = frames(in);
    EXPECT_EQ(f.controls.size(), QSizeF(320, 430));
    // Right of the ring: 756 + 280 + 18.
    EXPECT_EQ(f.controls.x(), 1054);
    // Top edge min(320, 320) - 80 = 240 below the screen's top.
    EXPECT_EQ(f.controls.y() + f.controls.height(), 982 - 240);

    in.floating = true;
    EXPECT_EQ(frames(in).controls.height(), 300);

    // Far right: the panel moves to the ring's left, never past the 16 pt margin.
    in.floating = false;
    in.lipOffsetX = 60;
    in.screen = QRectF(0, 0, 1100, 982);
    in.notchRect = QRectF(450, 950, 200, 32);
    f = frames(in);
    EXPECT_EQ(f.controls.x(), 30);

    // Ring close to the left edge too: the panel keeps 16 from the left edge.
    in.lipOffsetX = -60;
    in.notchRect = QRectF(100, 950, 200, 32);
    in.screen = QRectF(0, 0, 700, 982);
    EXPECT_EQ(frames(in).controls.x(), 16);

    // A short screen: the panel stays 8 below the top rather than 24 above the bottom.
    const Frames s = frames(screenOf(900, 400));
    EXPECT_EQ(s.controls.y(), 400 - 430 - 8);
}

TEST(IslandEditLayoutTest, ExpandedPhaseUsesTheHomeHeightAndItsOwnOffset)
{
    Inputs in = screenOf(1512, 982, IslandEditPhase::expanded);
    in.homeContentHeight = 300;
    in.lipOffsetX = 50;
    in.expandedOffsetX = -20;
    const Frames f = frames(in);
    // Home: min(clamp(958 - 20, 280, 620), max(32 + 26 + 300, 104)) = 358.
    EXPECT_EQ(f.shade.height(), std::min(0.72 * 982, std::max(358.0 + 48, 440.0)));
    EXPECT_EQ(f.controls.size(), QSizeF(320, 248));
    EXPECT_EQ(ringCenter(in).x(), 756 - 20);
    EXPECT_EQ(f.controls.x(), 736 + 400 + 18);
}

TEST(IslandEditLayoutTest, CaptionRunsAlongTheLowerRim)
{
    EXPECT_NEAR(arcAngle(0, 1), M_PI / 2, 1e-12);
    EXPECT_NEAR(arcAngle(0, 10) * 180 / M_PI, 147.6, 1e-9);
    EXPECT_NEAR(arcAngle(9, 10) * 180 / M_PI, 32.4, 1e-9);
    const QPointF p = arcPosition({100, 0}, 50, 0, 1);
    EXPECT_NEAR(p.x(), 100, 1e-9);
    EXPECT_NEAR(p.y(), 50, 1e-9);
    EXPECT_NEAR(arcRotationDegrees(0, 1), 0, 1e-9);
}

TEST(IslandEditLayoutTest, ShownValuesRoundHalvesAwayFromZero)
{
    EXPECT_EQ(displayedValue(16.4), 16);
    EXPECT_EQ(displayedValue(16.5), 17);
    EXPECT_EQ(displayedValue(-16.5), -17);
    EXPECT_EQ(displayedValue(-0.4), 0);
}

TEST(IslandEditLayoutTest, FloatingPillOnlyWithoutAnyNotchedScreen)
{
    EXPECT_FALSE(showsFloatingPill(false, {}));
    EXPECT_TRUE(showsFloatingPill(true, {0, 0}));
    EXPECT_FALSE(showsFloatingPill(true, {0, 32}));
}

class IslandEditResetTest : public IslandViewTest {};

TEST_F(IslandEditResetTest, EachResetTouchesOnlyItsPhase)
{
    AppSettings &settings = fakes->settings;
    settings.setLipOffsetX(12);
    settings.setLipOffsetY(5);
    settings.setLipDrop(3);
    settings.setLipCornerRadius(0);
    settings.setLipEar(-10);
    settings.setExpandedOffsetX(40);
    settings.setExpandedOffsetY(30);

    resetExpanded(settings);
    EXPECT_EQ(settings.expandedOffsetX(), 0);
    EXPECT_EQ(settings.expandedOffsetY(), 0);
    EXPECT_EQ(settings.lipOffsetX(), 12);
    EXPECT_EQ(settings.lipDrop(), 3);

    settings.setExpandedOffsetX(40);
    resetNotch(settings);
    EXPECT_EQ(settings.lipOffsetX(), 0);
    EXPECT_EQ(settings.lipOffsetY(), 0);
    EXPECT_EQ(settings.lipDrop(), 16);
    EXPECT_EQ(settings.lipCornerRadius(), 10);
    EXPECT_EQ(settings.lipEar(), 32);
    EXPECT_EQ(settings.expandedOffsetX(), 40);
}
