#include "look/animationclock.h"
#include "island/blinkloop.h"
#include "style/islandstyle.h"
#include "support/pavlettest.h"

#include <QSignalSpy>

class AnimationClockTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        animation = std::make_unique<AnimationClock>(&clock, scheduler.get());
    }
    std::unique_ptr<AnimationTicker> ticker(double fps, bool running = true)
    {
        auto t = std::make_unique<AnimationTicker>();
        t->setFps(fps);
        t->setClock(animation.get());
        t->setRunning(running);
        return t;
    }
    std::unique_ptr<AnimationClock> animation;
};

TEST_F(AnimationClockTest, TicksOnlyWhileATickerRunsAtTheFastestRateAsked)
{
    EXPECT_EQ(animation->intervalMs(), 0);
    auto slow = ticker(1);
    EXPECT_EQ(animation->intervalMs(), 1000);
    auto fast = ticker(30);
    EXPECT_EQ(animation->intervalMs(), 33);
    fast->setRunning(false);
    EXPECT_EQ(animation->intervalMs(), 1000);
    slow.reset();
    EXPECT_EQ(animation->intervalMs(), 0);

    // Nothing runs, so stepping time tells nobody.
    QSignalSpy ticks(animation.get(), &AnimationClock::ticked);
    scheduler->advance(5000);
    EXPECT_EQ(ticks.count(), 0);
}

TEST_F(AnimationClockTest, EachTickerHearsOfTheTimeAsOftenAsItAsked)
{
    auto fast = ticker(60);
    auto half = ticker(30);
    auto slow = ticker(1);
    QSignalSpy fastSpy(fast.get(), &AnimationTicker::timeChanged);
    QSignalSpy halfSpy(half.get(), &AnimationTicker::timeChanged);
    QSignalSpy slowSpy(slow.get(), &AnimationTicker::timeChanged);
    scheduler->advance(1000);
    EXPECT_EQ(fastSpy.count(), 60);
    EXPECT_EQ(halfSpy.count(), 30);
    EXPECT_EQ(slowSpy.count(), 1);
    EXPECT_EQ(fast->now().toMSecsSinceEpoch(), clock.nowMs());
    EXPECT_NEAR(fast->elapsed(), 1.0, 1e-9);
    clock.setNowMs(clock.nowMs() - 3600 * 1000); // set back: shown within a second, elapsed goes on
    scheduler->advance(1000);
    EXPECT_NEAR(double(slow->now().toMSecsSinceEpoch()), double(clock.nowMs()), 1000);
    EXPECT_NEAR(fast->elapsed(), 2.0, 0.05);
}

TEST_F(AnimationClockTest, AStartingTickerReadsTheTimeAtOnceAndCountsFromThere)
{
    clock.advanceMs(12345);
    auto t = ticker(30, false);
    t->setRunning(true);
    EXPECT_EQ(t->now().toMSecsSinceEpoch(), clock.nowMs());
    EXPECT_EQ(t->elapsed(), 0);
    EXPECT_DOUBLE_EQ(t->time(), clock.nowMs() / 1000.0 - 978307200.0);
}

TEST_F(AnimationClockTest, AClockThatGoesFirstLeavesNoTickerHoldingIt)
{
    auto a = ticker(60);
    auto b = ticker(30);
    auto c = ticker(1);
    animation.reset();
    for (const auto *t : {a.get(), b.get(), c.get()})
        EXPECT_FALSE(t->isActive());
    // Each ticker's own end must not reach the clock that is gone.
    a.reset();
    b.reset();
    c.reset();
}

TEST(IslandStyleTest, NamedSpringsMatchTheirResponseAndDamping)
{
    IslandStyle style;
    EXPECT_EQ(style.property("stateSpring").value<SpringSpec>(), SpringSpec::make(0.36, 0.84, 0.1));
    EXPECT_EQ(style.property("memoListSpring").value<SpringSpec>(), SpringSpec::make(0.32, 0.88));
    const auto game = style.property("gamePageSpring").value<SpringSpec>();
    EXPECT_DOUBLE_EQ(game.response, 0.32);
    EXPECT_DOUBLE_EQ(game.dampingFraction, 0.88);
    // A slower response is a softer spring.
    EXPECT_LT(game.spring, IslandStyle::quick.spring);
}

TEST_F(AnimationClockTest, TheSmileBlinksOnTheSchedulerOnlyWhileRunning)
{
    BlinkLoop loop;
    loop.setScheduler(scheduler.get());
    loop.setRunning(true);
    QSignalSpy blinks(&loop, &BlinkLoop::blinkChanged);
    for (int cycle = 0; cycle < 3; ++cycle) {
        scheduler->advance(3399);
        EXPECT_FALSE(loop.blink());
        scheduler->advance(1);
        EXPECT_TRUE(loop.blink());
        scheduler->advance(110);
        EXPECT_FALSE(loop.blink());
    }
    EXPECT_EQ(blinks.count(), 6);
    scheduler->advance(3400);
    loop.setRunning(false);
    EXPECT_FALSE(loop.blink());
    scheduler->advance(10'000);
    EXPECT_EQ(blinks.count(), 8);
}
