#include "core/random.h"
#include "games/arcadeengine.h"
#include "games/arcadetypes.h"
#include "games/frametimer.h"
#include "support/pavlettest.h"

#include <QSet>

TEST(ArcadeTypesTest, LevelsVersusAndClosedUnit)
{
    EXPECT_EQ(levelFromRaw(u"medium"), ArcadeNPCLevel::medium);
    for (QStringView bad : {u"Medium", u"", u" easy"})
        EXPECT_FALSE(levelFromRaw(bad).has_value());
    for (ArcadeNPCLevel level : allNPCLevels)
        EXPECT_EQ(levelFromRaw(rawValue(level)), level);

    EXPECT_EQ(ArcadeVersus::local(), ArcadeVersus::local());
    EXPECT_NE(ArcadeVersus::npc(ArcadeNPCLevel::easy), ArcadeVersus::npc(ArcadeNPCLevel::hard));
    EXPECT_NE(ArcadeVersus::local(), ArcadeVersus::npc(ArcadeNPCLevel::medium));
    EXPECT_EQ(QSet<ArcadeVersus>({ArcadeVersus::local(), ArcadeVersus::local()}).size(), 1);

    Random r(42);
    std::vector<double> draws(2000);
    std::generate(draws.begin(), draws.end(), [&] { return closedUnit(r); });
    const auto [lo, hi] = std::minmax_element(draws.begin(), draws.end());
    EXPECT_TRUE(*lo >= 0.0 && *hi <= 1.0 && *hi - *lo > 0.98);
}

namespace {
// A minimal real-time engine stepping on the frame timer, capped at 0.05 s.
struct StepEngine : ArcadeEngine {
    StepEngine(Clock *clock, Scheduler *scheduler)
        : ArcadeEngine(nullptr, clock, scheduler, nullptr), timer(scheduler, clock) {}
    void start()
    {
        timer.startStepping(FrameTimer::Rate60, 0.05, [steps = steps](double dt) { steps->push_back(dt); });
    }
    std::shared_ptr<std::vector<double>> steps = std::make_shared<std::vector<double>>();
    FrameTimer timer;
};
} // namespace

using FrameTimerTest = PavletTest;

TEST_F(FrameTimerTest, StepsByMeasuredTimeCappedAndSkipsEmptySteps)
{
    StepEngine engine(&clock, scheduler.get());
    engine.start();
    engine.start(); // a restart drops the first timer
    scheduler->advance(34);
    ASSERT_EQ(engine.steps->size(), 2u);
    for (double dt : *engine.steps)
        EXPECT_NEAR(dt, 0.017, 1e-9);

    clock.advanceMs(30000); // the machine slept
    scheduler->runDue();
    EXPECT_DOUBLE_EQ(engine.steps->back(), 0.05);
    const size_t n = engine.steps->size();
    scheduler->advance(16);
    for (size_t i = n; i < engine.steps->size(); ++i)
        EXPECT_GT((*engine.steps)[i], 0.0); // overdue firings with nothing to step are skipped

    engine.timer.stop();
    EXPECT_FALSE(engine.timer.isRunning());
    scheduler->advance(500);
    EXPECT_EQ(engine.steps->size(), n + 1);
    engine.timer.clearLastTick();
    EXPECT_EQ(engine.timer.takeStep(1.0), 0.0);
}

TEST_F(FrameTimerTest, ADeletedEngineWithALiveTimerDoesNothing)
{
    auto engine = std::make_unique<StepEngine>(&clock, scheduler.get());
    auto steps = engine->steps;
    engine->start();
    scheduler->advance(17);
    engine.reset();
    scheduler->advance(1000);
    EXPECT_EQ(steps->size(), 1u);
    EXPECT_EQ(scheduler->pendingCount(), 0);
}
