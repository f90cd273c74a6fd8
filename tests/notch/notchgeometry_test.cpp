#include "fakes/fakescreens.h"
#include "island/islandmetrics.h"
#include "notch/notchgeometry.h"

#include <gtest/gtest.h>

using ScreenSpace::maxY;
using namespace IslandMetrics;

namespace {
// A notched 1512 x 982 screen at the origin with a 32-high housing.
platform::ScreenInfo notched(double inset, std::optional<QRectF> left, std::optional<QRectF> right)
{
    platform::ScreenInfo s = FakeScreenProvider::plain("built-in", 0, 0, 1512, 982, 37);
    s.topInset = inset;
    s.auxiliaryTopLeft = left;
    s.auxiliaryTopRight = right;
    return s;
}
} // namespace

TEST(NotchGeometryTest, NotchRectangleForEveryKindOfScreen)
{
    struct Case {
        const char *name;
        platform::ScreenInfo screen;
        bool floating;
        QRectF notch;
        bool hardware;
        bool floats;
    };
    // The notches centred on the 1512 x 982 screen's top edge.
    const double fallback = fallbackNotchWidth;
    const Case cases[] = {
        {"gap between the side areas", notched(32, QRectF(0, 950, 660, 32), QRectF(850, 950, 662, 32)), false,
         QRectF(660, 950, 190, 32), true, false},
        {"gap of 40 or less", notched(32, QRectF(0, 950, 740, 32), QRectF(780, 950, 732, 32)), false,
         QRectF(756 - fallback / 2, 950, fallback, 32), true, false},
        {"side area missing, low inset", notched(20, QRectF(0, 950, 660, 32), std::nullopt), false,
         QRectF(756 - fallback / 2, 982 - plainNotch.height(), fallback, plainNotch.height()), true, false},
        {"notched never floats", notched(38, std::nullopt, std::nullopt), true,
         QRectF(756 - fallback / 2, 944, fallback, 38), true, false},
        {"plain screen", FakeScreenProvider::plain("ext", 0, 0, 1512, 982), false,
         QRectF(QPointF(756 - plainNotch.width() / 2, 982 - plainNotch.height()), plainNotch), false, false},
        {"plain screen, floating", FakeScreenProvider::plain("ext", 0, 0, 1512, 982), true,
         QRectF(QPointF(756 - floatingNotch.width() / 2, 982 - floatingGap - floatingNotch.height()), floatingNotch), false, true},
    };
    for (const Case &c : cases) {
        const NotchGeometry g(c.screen, c.floating);
        EXPECT_EQ(g.notchRect, c.notch) << c.name;
        EXPECT_EQ(g.hasHardwareNotch, c.hardware) << c.name;
        EXPECT_EQ(g.floating, c.floats) << c.name;
    }
}

TEST(NotchGeometryTest, ScreenChoicePrefersTheNotchedOneThenMainThenFirst)
{
    platform::ScreenInfo external = FakeScreenProvider::plain("ext", -1920, 0, 1920, 1080);
    platform::ScreenInfo builtIn = notched(32, std::nullopt, std::nullopt);
    platform::ScreenInfo other = FakeScreenProvider::plain("other", 1512, 0, 1280, 800);

    EXPECT_EQ(NotchGeometry::notchedScreen({external, builtIn}, external)->name, "built-in");
    EXPECT_EQ(NotchGeometry::notchedScreen({external, other}, other)->name, "other");
    EXPECT_EQ(NotchGeometry::notchedScreen({external, other}, std::nullopt)->name, "ext");
    EXPECT_FALSE(NotchGeometry::notchedScreen({}, std::nullopt));
}

TEST(NotchGeometryTest, SizeTableRows)
{
    const NotchGeometry g(FakeScreenProvider::plain("s", 0, 0, 1512, 982, 37), false); // N = plainNotch
    struct Case {
        NotchState state;
        PavletGame game;
        double content;
        QSizeF size;
    };
    const Case cases[] = {
        {NotchState::hover, PavletGame::hub, 0, {296, 72}},
        {NotchState::hud, PavletGame::hub, 0, {272, 68}},
        {NotchState::canvas, PavletGame::hub, 0, {400, 462}},
        {NotchState::mirror, PavletGame::hub, 0, {320, 268}},
        {NotchState::calculator, PavletGame::hub, 0, {348, 484}},
        {NotchState::pocket, PavletGame::hub, 0, {400, 352}},
        {NotchState::voice, PavletGame::hub, 0, {400, 432}},
        {NotchState::translator, PavletGame::hub, 0, {400, 404}},
        {NotchState::update, PavletGame::hub, 0, {400, 200}},
        {NotchState::games, PavletGame::hub, 0, {428, 32 + 36 + 360}},
        {NotchState::games, PavletGame::wordle, 0, {400, 32 + 36 + 432}},
        {NotchState::games, PavletGame::blocks, 0, {420, 32 + 36 + 328}},
        {NotchState::games, PavletGame::blackjack, 0, {440, 32 + 36 + 412}},
        {NotchState::games, PavletGame::stack4, 0, {440, 32 + 36 + 396}},
        // Home: at least N.h + 72, content + 26 + N.h, at most the screen bound.
        {NotchState::home, PavletGame::hub, 0, {428, 104}},
        {NotchState::home, PavletGame::hub, 200, {428, 258}},
        {NotchState::home, PavletGame::hub, 2000, {428, 620}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(g.islandSize(c.state, c.content, c.game, 2, 0, 0), c.size)
            << int(c.state) << " " << int(c.game);
    }
    // On a short screen the Home bound is 280.
    const NotchGeometry small(FakeScreenProvider::plain("s", 0, 0, 800, 300, 50), false);
    EXPECT_EQ(small.islandSize(NotchState::home, 2000, PavletGame::hub, 2, 0, 0).height(), 280);
}

TEST(NotchGeometryTest, CollapsedIslandClampsDropAndEarAndStillCoversNotchAndLip)
{
    const NotchGeometry g(FakeScreenProvider::plain("s", 0, 0, 1512, 982), false);
    const QRectF &n = g.notchRect;
    // Drop 0 -> 2, 40 -> 28.
    EXPECT_EQ(g.islandRect(NotchState::collapsed, 0, PavletGame::hub, 0, 0, 0, false).height(), 34);
    EXPECT_EQ(g.islandRect(NotchState::collapsed, 0, PavletGame::hub, 40, 0, 0, false).height(), 60);
    // Ear -100 acts as -60: the island proper is max(N.w - 120, 96) wide, but
    // the area still holds the notch and the lip.
    const QRectF narrow = g.islandRect(NotchState::collapsed, 0, PavletGame::hub, 10, -100, 0, false);
    EXPECT_TRUE(narrow.contains(n));
    EXPECT_EQ(narrow.width(), n.width());
    EXPECT_EQ(ScreenSpace::minY(narrow), ScreenSpace::minY(n) - 10);
    // Ear 100 acts as 64.
    EXPECT_EQ(g.islandRect(NotchState::collapsed, 0, PavletGame::hub, 10, 100, 0, false).width(), n.width() + 128);
}

TEST(NotchGeometryTest, DropShadowGrowsBelowWhenHangingAndBothWaysWhenFloating)
{
    const platform::ScreenInfo s = FakeScreenProvider::plain("s", 0, 0, 1512, 982);
    const NotchGeometry hanging(s, false);
    const QRectF plain = hanging.islandRect(NotchState::hover, 0, PavletGame::hub, 2, 0, 0, false);
    const QRectF shadow = hanging.islandRect(NotchState::hover, 0, PavletGame::hub, 2, 0, 0, true);
    EXPECT_EQ(shadow.width(), plain.width() + 2 * shadowMargin);
    EXPECT_EQ(shadow.height(), plain.height() + shadowMargin);
    EXPECT_EQ(maxY(shadow), maxY(plain));

    const NotchGeometry floating(s, true);
    const QRectF f = floating.islandRect(NotchState::hover, 0, PavletGame::hub, 2, 0, 0, false);
    const QRectF fs = floating.islandRect(NotchState::hover, 0, PavletGame::hub, 2, 0, 0, true);
    EXPECT_EQ(maxY(f), 982 - floatingGap);
    EXPECT_EQ(fs.height(), f.height() + 2 * shadowMargin);
    EXPECT_EQ(maxY(fs), maxY(f) + shadowMargin);
    // The floating collapsed island is the notch rectangle.
    EXPECT_EQ(floating.islandRect(NotchState::collapsed, 0, PavletGame::hub, 20, 40, 0, false), floating.notchRect);
}

TEST(NotchGeometryTest, OutlineClampsItsRadius)
{
    // Floating 96 x 32 with radius 40: corners of 16 (the arc reaches the
    // middle of the short side).
    const QPainterPath floating = islandOutlinePath(QRectF(0, 0, 96, 32), 40, true);
    EXPECT_TRUE(floating.contains(QPointF(48, 1)));
    EXPECT_TRUE(floating.contains(QPointF(16, 16)));
    EXPECT_FALSE(floating.contains(QPointF(2, 2)));
    // Hanging: the top reaches 12 above, the top corners are square, the
    // bottom ones rounded; a negative radius squares them too.
    const QPainterPath hanging = islandOutlinePath(QRectF(0, 0, 200, 40), 12, false);
    EXPECT_EQ(hanging.boundingRect(), QRectF(0, -12, 200, 52));
    EXPECT_TRUE(hanging.contains(QPointF(0.5, 0.5)));
    EXPECT_FALSE(hanging.contains(QPointF(1, 39)));
    const QPainterPath square = islandOutlinePath(QRectF(0, 0, 200, 40), -5, false);
    EXPECT_TRUE(square.contains(QPointF(1, 39)));
}

TEST(NotchGeometryTest, FlipTurnsWindowCoordinatesIntoYUpAndBack)
{
    const QRectF qt(100, 0, 200, 40); // at the top of a 982-high primary screen
    const QRectF up = ScreenSpace::flip(qt, 982);
    EXPECT_EQ(up, QRectF(100, 942, 200, 40));
    EXPECT_EQ(ScreenSpace::flip(up, 982), qt);
}
