#include "fakes/fakescreens.h"
#include "island/islandmetrics.h"
#include "notch/panelframe.h"

#include <gtest/gtest.h>

using ScreenSpace::maxY;
using namespace IslandMetrics;

namespace {
NotchGeometry plainGeometry(bool floating = false)
{
    return NotchGeometry(FakeScreenProvider::plain("s", 0, 0, 1512, 982, 37), floating); // N = plainNotch
}
FrameInputs in(NotchState state)
{
    FrameInputs i;
    i.state = state;
    return i;
}
} // namespace

TEST(PanelFrameTest, CollapsedWidthFollowsEarAndSideContent)
{
    const NotchGeometry g = plainGeometry();
    FrameSettings s;
    FrameInputs collapsed = in(NotchState::collapsed);
    EXPECT_EQ(PanelFrame::targetFrame(g, collapsed, s).width(), plainNotch.width());
    collapsed.hasCollapsedSideContent = true;
    EXPECT_EQ(PanelFrame::targetFrame(g, collapsed, s).width(), plainNotch.width() + 2 * sideContentEar);

    // Ear -80 acts as -60; the island is then the 96 minimum wide.
    s.lipEar = -80;
    EXPECT_EQ(PanelFrame::sideExtension(in(NotchState::collapsed), s), -60);
    EXPECT_EQ(PanelFrame::targetFrame(g, in(NotchState::collapsed), s).width(), 96);

    // The lock shows beside the notch only while its module is shown.
    s.lipEar = 0;
    FrameInputs lock = in(NotchState::collapsed);
    lock.gameModeOn = lock.gameModeHover = true;
    EXPECT_EQ(PanelFrame::sideExtension(lock, s), sideContentEar);
    lock.gameModeShown = false;
    EXPECT_EQ(PanelFrame::sideExtension(lock, s), 0);
    // Outside the collapsed state nothing raises it.
    FrameInputs hover = in(NotchState::hover);
    hover.hasCollapsedSideContent = true;
    EXPECT_EQ(PanelFrame::sideExtension(hover, s), 0);
}

TEST(PanelFrameTest, DropAndToastHeights)
{
    const NotchGeometry g = plainGeometry();
    FrameSettings s;
    s.lipDrop = 0;
    EXPECT_EQ(PanelFrame::targetFrame(g, in(NotchState::collapsed), s).height(), plainNotch.height() + minDrop);
    s.lipDrop = 40;
    EXPECT_EQ(PanelFrame::targetFrame(g, in(NotchState::collapsed), s).height(), plainNotch.height() + maxDrop);
    FrameInputs toast = in(NotchState::collapsed);
    toast.gameModeToast = true;
    const QRectF f = PanelFrame::targetFrame(g, toast, s);
    EXPECT_EQ(f.height(), plainNotch.height() + maxDrop + toastHeight);
    EXPECT_EQ(f.width(), plainNotch.width() + 2 * sideContentEar);
    // Floating: the notch rectangle plus the toast, nothing else.
    const NotchGeometry fl = plainGeometry(true);
    EXPECT_EQ(PanelFrame::targetFrame(fl, toast, s).size(), floatingNotch + QSizeF(0, toastHeight));
}

TEST(PanelFrameTest, PlacementOffsetsAndTopLimit)
{
    const NotchGeometry g = plainGeometry();
    FrameSettings s;
    s.lipOffsetX = 10;
    s.lipOffsetY = 30; // ignored while hanging and collapsed
    s.expandedOffsetX = -20;
    s.expandedOffsetY = 25;
    const QRectF collapsed = PanelFrame::targetFrame(g, in(NotchState::collapsed), s);
    EXPECT_EQ(collapsed.center().x(), 756 + 10);
    EXPECT_EQ(maxY(collapsed), 982);
    const QRectF hover = PanelFrame::targetFrame(g, in(NotchState::hover), s);
    EXPECT_EQ(hover.center().x(), 756 - 20);
    EXPECT_EQ(maxY(hover), 982 - 25);

    // Negative vertical offsets act as 0 and never lift the island.
    s.expandedOffsetY = -50;
    EXPECT_EQ(maxY(PanelFrame::targetFrame(g, in(NotchState::hover), s)), 982);
    const NotchGeometry fl = plainGeometry(true);
    s.lipOffsetY = -30;
    EXPECT_EQ(maxY(PanelFrame::targetFrame(fl, in(NotchState::collapsed), s)), 982 - floatingGap);
    s.lipOffsetY = 30;
    EXPECT_EQ(maxY(PanelFrame::targetFrame(fl, in(NotchState::collapsed), s)), 982 - floatingGap - 30);

    // Floating with the drop shadow: the shadow would reach above the limit
    // floatingGap below the top, so the frame moves down, its size unchanged.
    s.showDropShadow = true;
    const QRectF shadowed = PanelFrame::targetFrame(fl, in(NotchState::hover), s);
    EXPECT_EQ(maxY(shadowed), 982 - floatingGap);
    EXPECT_EQ(shadowed.size(), floatingNotch + QSizeF(96, 40) + 2 * QSizeF(shadowMargin, shadowMargin));
}

TEST(PanelFrameTest, InitialFrameIgnoresOffsetsAndSideMinimum)
{
    const NotchGeometry g = plainGeometry();
    FrameSettings s;
    s.lipOffsetX = 100;
    s.lipEar = 10;
    s.lipDrop = 6;
    const QSizeF lip = plainNotch + QSizeF(2 * 10, 6);
    const QRectF bare(756 - lip.width() / 2, 982 - lip.height(), lip.width(), lip.height());
    EXPECT_EQ(PanelFrame::initialFrame(g, s), bare);
    // The shadow's margin at the sides and below.
    s.showDropShadow = true;
    EXPECT_EQ(PanelFrame::initialFrame(g, s), bare.adjusted(-shadowMargin, -shadowMargin, shadowMargin, 0));
}

TEST(PanelFrameTest, CornerRadiusPerState)
{
    struct Case {
        NotchState state;
        double floating, lip0, lip30;
    };
    const Case cases[] = {
        {NotchState::collapsed, 20, 0, 22}, {NotchState::hover, 18, 14, 22},
        {NotchState::hud, 18, 14, 22},      {NotchState::mirror, 20, 18, 22},
        {NotchState::home, 22, 20, 22},     {NotchState::update, 22, 20, 22},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(IslandMetrics::cornerRadius(c.state, true, 5), c.floating) << int(c.state);
        EXPECT_EQ(IslandMetrics::cornerRadius(c.state, false, -3), c.lip0) << int(c.state);
        EXPECT_EQ(IslandMetrics::cornerRadius(c.state, false, 30), c.lip30) << int(c.state);
    }
    EXPECT_EQ(IslandMetrics::cornerRadius(NotchState::collapsed, false, 9), 9);
}

TEST(PanelFrameTest, PointerTestUsesTheGrownPanelThenTheMovedIsland)
{
    const NotchGeometry g = plainGeometry();
    FrameSettings s;
    const QRectF panel(656, 950, 200, 32);
    EXPECT_TRUE(PanelFrame::pointerInside({652, 960}, panel, g, in(NotchState::collapsed), s));
    EXPECT_FALSE(PanelFrame::pointerInside({640, 960}, panel, g, in(NotchState::collapsed), s));
    // With the panel still small, the hover island's area already counts.
    EXPECT_TRUE(PanelFrame::pointerInside({620, 940}, panel, g, in(NotchState::hover), s));
    s.expandedOffsetX = 400;
    EXPECT_FALSE(PanelFrame::pointerInside({620, 940}, panel, g, in(NotchState::hover), s));
    EXPECT_TRUE(PanelFrame::pointerInside({1020, 940}, panel, g, in(NotchState::hover), s));
}
