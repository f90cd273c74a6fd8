#include "arcadeengine.h"
#include "arcadetypes.h"
#include "frametimer.h"
#include "pavlettest.h"
#include "random.h"

#include <QSet>

TEST(ArcadeTypesTest, LevelsParseOnlyTheirExactRawStrings)
{
    EXPECT_EQ(levelFromRaw(u"easy"), ArcadeNPCLevel::easy);
    EXPECT_EQ(levelFromRaw(u"medium"), ArcadeNPCLevel::medium);
    EXPECT_EQ(levelFromRaw(u"hard"), ArcadeNPCLevel::hard);
    for (QStringView bad : {u"Medium", u"", u"HARD", u" easy", u"medium "})
        EXPECT_FALSE(levelFromRaw(bad).has_value()) << bad.toString().toStdString();
    for (ArcadeNPCLevel level : allNPCLevels)
        EXPECT_EQ(levelFromRaw(rawValue(level)), level);
}

TEST(ArcadeTypesTest, VersusEqualityAndHashing)
{
    EXPECT_EQ(ArcadeVersus::local(), ArcadeVersus::local());
    EXPECT_EQ(ArcadeVersus::npc(ArcadeNPCLevel::hard), ArcadeVersus::npc(ArcadeNPCLevel::hard));
    EXPECT_NE(ArcadeVersus::npc(ArcadeNPCLevel::easy), ArcadeVersus::npc(ArcadeNPCLevel::hard));
    EXPECT_NE(ArcadeVersus::local(), ArcadeVersus::npc(ArcadeNPCLevel::medium));
    EXPECT_EQ(ArcadeVersus(), ArcadeVersus::npc(ArcadeNPCLevel::medium));
    EXPECT_FALSE(ArcadeVersus::local().npcLevel().has_value());
    EXPECT_EQ(ArcadeVersus::local().levelName(), QString());
    EXPECT_EQ(ArcadeVersus::npc(ArcadeNPCLevel::easy).levelName(), "easy");

    QSet<ArcadeVersus> set{ArcadeVersus::local(), ArcadeVersus::local(),
                           ArcadeVersus::npc(ArcadeNPCLevel::easy)};
    EXPECT_EQ(set.size(), 2);
}

TEST(ArcadeTypesTest, ClosedUnitStaysInRangeAndSpreads)
{
    Random r(42);
    double lo = 1, hi = 0;
    for (int i = 0; i < 2000; ++i) {
        const double p = closedUnit(r);
        ASSERT_GE(p, 0.0);
        ASSERT_LE(p, 1.0);
        lo = std::min(lo, p);
        hi = std::max(hi, p);
    }
    EXPECT_LT(lo, 0.01);
    EXPECT_GT(hi, 0.99);
}

namespace {

// A minimal real-time engine: it moves by speed × dt on each frame.
class StepEngine : public ArcadeEngine {
public:
    StepEngine(Clock *clock, Scheduler *scheduler)
        : ArcadeEngine(nullptr, clock, scheduler, nullptr), timer(scheduler, clock)
    {
    }
    void start()
    {
        timer.startStepping(FrameTimer::Interval60Ms, 0.05, [this](double dt) {
            steps.push_back(dt);
            *travelled += 100 * dt;
        });
    }
    std::vector<double> steps;
    std::shared_ptr<double> travelled = std::make_shared<double>(0);
    FrameTimer timer;
};

} // namespace

using FrameTimerTest = PavletTest;

TEST_F(FrameTimerTest, StepsByMeasuredTimeAndCapsAfterALongPause)
{
    StepEngine engine(&clock, scheduler.get());
    engine.start();
    EXPECT_TRUE(engine.timer.isRunning());
    scheduler->advance(48);
    ASSERT_EQ(engine.steps.size(), 3u);
    for (double dt : engine.steps)
        EXPECT_NEAR(dt, 0.016, 1e-9);

    // The machine sleeps: the clock jumps 30 s without any firing.
    clock.advanceMs(30000);
    scheduler->runDue();
    ASSERT_EQ(engine.steps.size(), 4u);
    EXPECT_DOUBLE_EQ(engine.steps.back(), 0.05);
    EXPECT_NEAR(*engine.travelled, 100 * (3 * 0.016 + 0.05), 1e-9);
    // Overdue firings that follow at the same moment have nothing to step.
    scheduler->advance(16);
    for (double dt : engine.steps)
        EXPECT_LE(dt, 0.05);
}

TEST_F(FrameTimerTest, NonPositiveStepsAreSkipped)
{
    StepEngine engine(&clock, scheduler.get());
    engine.start();
    // A firing at the very moment of the last tick has nothing to step.
    engine.timer.setLastTick(engine.timer.now() + 0.016);
    scheduler->advance(16);
    EXPECT_TRUE(engine.steps.empty());
    scheduler->advance(16);
    ASSERT_EQ(engine.steps.size(), 1u);
    EXPECT_NEAR(engine.steps[0], 0.016, 1e-9);
}

TEST_F(FrameTimerTest, RestartDropsTheOldTimerAndStopEndsIt)
{
    StepEngine engine(&clock, scheduler.get());
    engine.start();
    engine.start();
    scheduler->advance(16);
    EXPECT_EQ(engine.steps.size(), 1u); // one timer, not two
    engine.timer.stop();
    EXPECT_FALSE(engine.timer.isRunning());
    EXPECT_TRUE(engine.timer.lastTick().has_value());
    scheduler->advance(500);
    EXPECT_EQ(engine.steps.size(), 1u);
    engine.timer.clearLastTick();
    EXPECT_EQ(engine.timer.takeStep(1.0), 0.0); // no last tick: a zero step
}

TEST_F(FrameTimerTest, ADeletedEngineWithALiveTimerDoesNothing)
{
    auto engine = std::make_unique<StepEngine>(&clock, scheduler.get());
    auto travelled = engine->travelled;
    engine->start();
    scheduler->advance(16);
    const double before = *travelled;
    engine.reset();
    scheduler->advance(1000);
    EXPECT_EQ(*travelled, before);
    EXPECT_EQ(scheduler->pendingCount(), 0);
}

TEST_F(FrameTimerTest, EngineRecordsUseTheInjectedStore)
{
    class RecordEngine : public ArcadeEngine {
    public:
        using ArcadeEngine::ArcadeEngine;
        using ArcadeEngine::readRecord;
        using ArcadeEngine::writeRecord;
    };
    RecordEngine engine(defaults.get(), &clock, scheduler.get(), nullptr);
    EXPECT_EQ(engine.readRecord("pavlet.testBest"), 0);
    engine.writeRecord("pavlet.testBest", 12);
    EXPECT_EQ(reopenDefaults()->intValue("pavlet.testBest"), 12);
    defaults->setInt("pavlet.huge", qint64(1) << 40);
    EXPECT_EQ(engine.readRecord("pavlet.huge"), std::numeric_limits<int>::max());
}
