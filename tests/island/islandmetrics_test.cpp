#include "island/decorations.h"
#include "island/islandmetrics.h"
#include "style/palette.h"

#include <QTimeZone>
#include <gtest/gtest.h>

using namespace IslandMetrics;
using S = NotchState;

TEST(IslandMetricsTest, CornerRadiusFollowsRoundingWithAFloorPerState)
{
    struct Row { S state; bool floating; double lip; double radius; };
    const Row rows[] = {
        {S::collapsed, false, 30, 22}, {S::home, false, 30, 22},
        {S::collapsed, false, 4, 4},   {S::hover, false, 4, 14},   {S::hud, false, 4, 14},
        {S::mirror, false, 4, 18},     {S::home, false, 4, 20},    {S::update, false, 4, 20},
        {S::collapsed, false, -3, 0},
        {S::collapsed, true, 4, 20},   {S::hover, true, 4, 18},    {S::mirror, true, 0, 20},
        {S::games, true, 0, 22},
    };
    for (const Row &r : rows)
        EXPECT_EQ(cornerRadius(r.state, r.floating, r.lip), r.radius) << int(r.state) << r.floating;
}

TEST(IslandMetricsTest, ContentInsetsPerState)
{
    EXPECT_EQ(contentTopInset(S::hover, true, 32), 8);
    EXPECT_EQ(contentTopInset(S::home, true, 32), 14);
    EXPECT_EQ(contentTopInset(S::collapsed, false, 32), 38);
    EXPECT_EQ(contentTopInset(S::mirror, false, 32), 42);
    EXPECT_EQ(horizontalInset(S::hover), 14);
    EXPECT_EQ(horizontalInset(S::mirror), 12);
    EXPECT_EQ(horizontalInset(S::translator), 18);
    EXPECT_EQ(bottomInset(S::hud), 8);
    EXPECT_EQ(bottomInset(S::pocket), 16);
    EXPECT_EQ(contentName(S::voice), "VoiceMemosPanel");
}

TEST(IslandMetricsTest, HudLiesOverPanelsOnlyAndBelowTheNotch)
{
    EXPECT_TRUE(showsHudOverlay(S::home, true));
    EXPECT_TRUE(showsHudOverlay(S::update, true));
    EXPECT_FALSE(showsHudOverlay(S::hud, true));
    EXPECT_FALSE(showsHudOverlay(S::home, false));
    EXPECT_EQ(hudOverlayTop(false, 32), 40);
    EXPECT_EQ(hudOverlayTop(true, 32), 14);
}

TEST(IslandMetricsTest, TimerGlowBeatsPulsesAndPreviewsStandIn)
{
    using K = AmbientKind;
    struct Row { bool timer, previewTimer, ambient, previewAmbient; K shows; Glow glow; };
    const Row rows[] = {
        {false, false, false, false, K::bluetooth, {GlowKind::none, K::rest}},
        {true, false, true, false, K::bluetooth, {GlowKind::timer, K::rest}},
        {false, true, false, true, K::rest, {GlowKind::timer, K::rest}},
        {false, false, true, false, K::lowPower, {GlowKind::ambient, K::lowPower}},
        // The editor's ambient preview draws the resting colour over a real pulse.
        {false, false, true, true, K::lowPower, {GlowKind::ambient, K::rest}},
        {false, false, false, true, K::mirror, {GlowKind::ambient, K::rest}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(islandGlow(r.timer, r.previewTimer, r.ambient, r.previewAmbient, r.shows), r.glow);
}

TEST(IslandMetricsTest, DropHintOnlyWhilePocketIsShownAndNotOpen)
{
    EXPECT_TRUE(showsDropHint(true, false, S::collapsed));
    EXPECT_FALSE(showsDropHint(true, false, S::pocket));
    EXPECT_FALSE(showsDropHint(true, true, S::home));
    EXPECT_FALSE(showsDropHint(false, false, S::home));
}

using namespace Decorations;

TEST(DecorationsTest, ClockFaceShowsUtcSmoothly)
{
    const QDateTime at(QDate(2026, 12, 7), QTime(0, 0, 30), QTimeZone::utc());
    const HandAngles a = clockHandAngles(referenceSeconds(at));
    EXPECT_NEAR(a.second, 180, 1e-6);
    EXPECT_NEAR(a.minute, 3, 1e-6);
    EXPECT_NEAR(a.hour, 0.25, 1e-6);
    // 15:45 UTC: the hour hand sits three quarters past three.
    const HandAngles b = clockHandAngles(referenceSeconds(QDateTime(QDate(2026, 1, 1), QTime(15, 45), QTimeZone::utc())));
    EXPECT_NEAR(b.hour, 112.5, 1e-6);
    EXPECT_NEAR(b.minute, 270, 1e-6);
    // Before 2001 the hands still point forwards.
    const HandAngles c = clockHandAngles(-30);
    EXPECT_NEAR(c.second, 180, 1e-6);
}

TEST(DecorationsTest, ClockMetricsUseTheirFloors)
{
    const ClockMetrics m = clockMetrics(13);
    EXPECT_NEAR(m.ring, 1.04, 1e-9);
    EXPECT_NEAR(m.hourLength, 3.64, 1e-9);
    EXPECT_NEAR(m.hourWidth, 1.17, 1e-9);
    EXPECT_NEAR(m.minuteLength, 5.2, 1e-9);
    EXPECT_NEAR(m.minuteWidth, 0.91, 1e-9);
    EXPECT_NEAR(m.secondLength, 5.72, 1e-9);
    EXPECT_NEAR(m.secondWidth, 0.6, 1e-9);
    EXPECT_NEAR(m.dot, 1.56, 1e-9);
    EXPECT_NEAR(clockMetrics(4).ring, 1, 1e-9);
}

TEST(DecorationsTest, DecorationsRedrawOnlyAsOftenAsTheyVisiblyMove)
{
    for (double size : {13.0, 16.0, 400.0}) {
        const int ms = clockFrameIntervalMs(size);
        EXPECT_GE(ms, 1000 / 30) << size;
        EXPECT_LE(ms, 1000);
        const double tipPerFrame = clockMetrics(size).secondLength * 2 * M_PI / 60 * ms / 1000;
        if (ms > 1000 / 30 + 1) {
            EXPECT_LE(tipPerFrame, 0.25 + 1e-9) << size;
        }
    }
    EXPECT_GT(clockFrameIntervalMs(13), 300);
    EXPECT_EQ(clockFrameIntervalMs(400), 1000 / 30 + 1);
    EXPECT_GE(smileFrameIntervalMs(), 50);
    EXPECT_LE(0.04 * 1.6 * 14 * smileFrameIntervalMs() / 1000, 0.25 + 1e-9);
}

TEST(DecorationsTest, CollapsedIdlePicksTimerThenBarsThenSmile)
{
    struct Row { bool playing, visualizer, smile, timer; IdleIndicator shows; double height; };
    const Row rows[] = {
        {true, true, true, true, IdleIndicator::clock, 14},
        {true, true, true, false, IdleIndicator::bars, 10},
        {true, false, true, false, IdleIndicator::smile, 10},
        {false, true, false, false, IdleIndicator::none, 10},
    };
    for (const Row &r : rows) {
        const IdleChoice c = collapsedIdle(r.playing, r.visualizer, r.smile, r.timer);
        EXPECT_EQ(c.indicator, r.shows);
        EXPECT_EQ(c.height, r.height);
        EXPECT_EQ(c.width, 14);
    }
}

TEST(DecorationsTest, RimBreathesFasterExceptForBluetooth)
{
    EXPECT_EQ(rimColor(AmbientKind::rest), Palette::yellowColor);
    EXPECT_EQ(rimColor(AmbientKind::tooClose), Palette::amberColor);
    const double blue = 2 * M_PI / rimAngularSpeed(AmbientKind::bluetooth);
    const double other = 2 * M_PI / rimAngularSpeed(AmbientKind::eyeStrain);
    EXPECT_NEAR(blue, 4.33, 0.01);
    EXPECT_NEAR(other, 2.62, 0.01);
    EXPECT_NEAR(rimPulse(AmbientKind::lowPower, 0), 0.5, 1e-9);
    EXPECT_NEAR(rimHaloOpacity(1), 0.64, 1e-9);
    EXPECT_NEAR(rimLineOpacity(0), 0.55, 1e-9);
    EXPECT_NEAR(smileScale(0), 0.98, 1e-9);
}

TEST(DecorationsTest, MascotScalesFromItsSize)
{
    const MascotMetrics m = mascotMetrics(30, false, M_PI / 2);
    EXPECT_TRUE(m.showsLegs);
    EXPECT_NEAR(m.firstLegOffset, 1.8, 1e-9);
    EXPECT_NEAR(m.secondLegOffset, -1.8, 1e-9);
    EXPECT_NEAR(mascotMetrics(30, true, 0).eyeHeight, 1.5, 1e-9);
    EXPECT_NEAR(mascotMetrics(30, false, 0).eyeHeight, 4.8, 1e-9);
    EXPECT_EQ(mascotMetrics(10, false, 0).smileLine, 1.5);
    EXPECT_FALSE(mascotMetrics(10, false, -1).showsLegs);

    EXPECT_TRUE(mascotSways(0, 0));
    EXPECT_TRUE(mascotSways(0.05, -1));
    EXPECT_FALSE(mascotSways(-24, 0));
    EXPECT_FALSE(mascotSways(0, 0.5));
    EXPECT_EQ(mascotSway(false, 1.0).dy, 0);
    const Sway s = mascotSway(true, M_PI / 4.4);
    EXPECT_NEAR(s.dy, 1.2, 1e-9);
    EXPECT_NEAR(s.degrees, 2.4, 1e-9);
}
