#include "fakes/fakeclock.h"
#include "island/islandmetrics.h"
#include "notch/panelanimator.h"
#include "support/pavlettest.h"

#include <QSignalSpy>
#include <cmath>


namespace {
const QSizeF notch = IslandMetrics::plainNotch;
// One hand-computed semi-implicit Euler step.
IslandSpring stepped(double value, double vel, double target, double dt)
{
    IslandSpring s{value, vel};
    s.step(target, dt);
    return s;
}
} // namespace

TEST(PanelSpringAnimatorTest, StepsAreFirstSixtiethThenMeasuredAndClamped)
{
    PanelAnimator a;
    const QRectF from(0, 950, 200, 32), to(0, 900, 400, 82);
    a.jump(from);
    ASSERT_TRUE(a.animateTo(to, from));

    a.step(10.0, notch); // first step: 1/60 whatever the clock says
    IslandSpring w = stepped(200, 0, 400, 1.0 / 60);
    EXPECT_DOUBLE_EQ(a.width().value, w.value);
    EXPECT_DOUBLE_EQ(a.width().vel, w.vel);

    a.step(10.5, notch); // a stall of 0.5 s advances by 1/30 only
    w.step(400, 1.0 / 30);
    EXPECT_DOUBLE_EQ(a.width().value, w.value);

    a.step(10.5001, notch); // too short a step counts as 1/240
    w.step(400, 1.0 / 240);
    EXPECT_DOUBLE_EQ(a.width().value, w.value);

    a.step(10.5101, notch); // a measured step in range
    w.step(400, 0.01);
    EXPECT_NEAR(a.width().value, w.value, 1e-9);
}

TEST(PanelSpringAnimatorTest, NoAnimationWithinHalfAPoint)
{
    PanelAnimator a;
    const QRectF here(100, 950, 200, 32);
    a.jump(here);
    EXPECT_FALSE(a.animateTo(here.adjusted(0.2, -0.3, 0.2, 0.1), here));
    EXPECT_FALSE(a.isRunning());
    EXPECT_TRUE(a.animateTo(here.adjusted(0, 0, 1, 0), here));
}

TEST(PanelSpringAnimatorTest, RetargetKeepsPositionsAndVelocities)
{
    PanelAnimator a;
    const QRectF from(0, 950, 200, 32);
    a.jump(from);
    a.animateTo(QRectF(0, 900, 400, 82), from);
    a.step(1.0, notch);
    a.step(1.016, notch);
    const IslandSpring before = a.width();
    EXPECT_FALSE(a.animateTo(QRectF(0, 800, 500, 182), QRectF()));
    EXPECT_EQ(a.width(), before);
    EXPECT_EQ(a.targetRect().width(), 500);
}

TEST(PanelSpringAnimatorTest, FramesNeverShrinkBelowTheNotch)
{
    PanelAnimator a;
    const QRectF from(0, 950, 300, 60);
    a.jump(from);
    a.animateTo(QRectF(100, 950, 100, 20), from);
    for (int i = 0; i < 200; ++i) {
        const auto s = a.step(1.0 + i / 60.0, notch);
        EXPECT_GE(s.frame.width(), notch.width());
        EXPECT_GE(s.frame.height(), notch.height());
    }
}

class PanelFrameDriverTest : public PavletTest {};

TEST_F(PanelFrameDriverTest, AnimatesOnTicksAndEndsOnTheExactTarget)
{
    PanelFrameDriver driver(&clock, scheduler.get(), 8);
    driver.setMinimumSize(notch);
    QSignalSpy frames(&driver, &PanelFrameDriver::frameChanged);
    QSignalSpy settled(&driver, &PanelFrameDriver::settled);
    QSignalSpy started(&driver, &PanelFrameDriver::animationStarted);

    const QRectF from(656, 950, 200, 32), to(608, 910, 296, 72);
    driver.setFrame(from, false);
    EXPECT_EQ(frames.count(), 1);
    EXPECT_EQ(scheduler->pendingCount(), 0);

    driver.setFrame(to, true);
    EXPECT_EQ(started.count(), 1);
    EXPECT_EQ(scheduler->pendingCount(), 1);
    scheduler->advance(3000);
    ASSERT_EQ(settled.count(), 1);
    EXPECT_EQ(driver.currentFrame(), to);
    EXPECT_EQ(frames.last().at(0).toRectF(), to);
    EXPECT_FALSE(frames.last().at(1).toBool());
    EXPECT_GT(frames.count(), 10);
    // The ticker is gone once settled.
    EXPECT_EQ(scheduler->pendingCount(), 0);
    EXPECT_FALSE(driver.isAnimating());
}

TEST_F(PanelFrameDriverTest, AJumpStopsARunningAnimation)
{
    PanelFrameDriver driver(&clock, scheduler.get(), 8);
    const QRectF from(656, 950, 200, 32);
    driver.setFrame(from, false);
    driver.setFrame(QRectF(500, 700, 500, 282), true);
    scheduler->advance(40);
    const QRectF snap(600, 900, 300, 82);
    driver.setFrame(snap, false);
    EXPECT_FALSE(driver.isAnimating());
    EXPECT_EQ(scheduler->pendingCount(), 0);
    EXPECT_EQ(driver.currentFrame(), snap);
}
