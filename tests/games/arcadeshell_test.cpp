#include "core/random.h"
#include "games/arcadeengine.h"
#include "games/action/blocksengine.h"
#include "games/action/cpsengine.h"
#include "games/action/dinoengine.h"
#include "games/action/flapengine.h"
#include "games/action/pongengine.h"
#include "games/action/reflexengine.h"
#include "games/action/snakeengine.h"
#include "games/action/stackengine.h"
#include "games/arcadetypes.h"
#include "games/blackjackengine.h"
#include "games/frametimer.h"
#include "games/patternengine.h"
#include "games/stack4engine.h"
#include "games/toeengine.h"
#include "games/wordleengine.h"
#include "support/pavlettest.h"

#include <QSet>
#include <cmath>
#include <functional>
#include <limits>

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

// ---- Stored records ----

using ArcadeRecordTest = PavletTest;

// Every record a game keeps, stored as another version or a hand edit may
// have left it: a value the game could make reads back as it is, one it could
// never make reads as no record, so the next game sets a real one.
TEST_F(ArcadeRecordTest, AValueNoGameCouldMakeReadsAsNoRecord)
{
    Random random(3);
    auto made = [&]<typename E>(E *) -> std::shared_ptr<QObject> {
        return std::make_shared<E>(defaults.get(), &clock, scheduler.get(), &random);
    };
    // The record as the engine publishes it; none is what it shows with
    // nothing stored.
    auto property = [](const char *name) {
        return [name](QObject *engine) { return engine->property(name); };
    };
    auto cpsTen = [](QObject *engine) { return engine->property("best").toMap().value("10"); };
    const double inf = std::numeric_limits<double>::infinity();
    const qint64 beyondInt = qint64(1) << 32 | 5; // an int would keep the 5
    const struct {
        const char *key;
        std::function<std::shared_ptr<QObject>()> make;
        std::function<QVariant(QObject *)> read;
        QVariant good;
        QVariantList bad;
    } rows[] = {
        {"pavlet.blackjackBest", [&] { return made((BlackjackEngine *)nullptr); }, property("best"), qint64(2500),
         {qint64(-1), qint64(-100000)}},
        {"pavlet.patternBest", [&] { return made((PatternEngine *)nullptr); }, property("best"), qint64(7),
         {qint64(-3)}},
        {"pavlet.toeWins", [&] { return made((ToeEngine *)nullptr); }, property("wins"), qint64(4), {qint64(-1)}},
        {"pavlet.stack4Wins", [&] { return made((Stack4Engine *)nullptr); }, property("wins"), qint64(9),
         {qint64(-2)}},
        {"pavlet.pongWins", [&] { return made((PongEngine *)nullptr); }, property("wins"), qint64(3), {qint64(-5)}},
        {"pavlet.wordleStreak", [&] { return made((WordleEngine *)nullptr); }, property("streak"), qint64(2),
         {qint64(-1)}},
        {"pavlet.wordlePlayed", [&] { return made((WordleEngine *)nullptr); }, property("played"), qint64(30),
         {qint64(-30)}},
        {"pavlet.wordleWon", [&] { return made((WordleEngine *)nullptr); }, property("won"), qint64(20),
         {qint64(-4)}},
        {"pavlet.snakeBest", [&] { return made((SnakeEngine *)nullptr); }, property("best"), qint64(40),
         {qint64(-1), qint64(SnakeEngine::Columns * SnakeEngine::Rows + 1), qint64(1000000000)}},
        {"pavlet.stackBest", [&] { return made((StackEngine *)nullptr); }, property("best"), qint64(15),
         {qint64(-7)}},
        {"pavlet.flapBest", [&] { return made((FlapEngine *)nullptr); }, property("best"), 11,
         {qint64(-1), beyondInt}},
        {"pavlet.dinoBest", [&] { return made((DinoEngine *)nullptr); }, property("best"), 480,
         {qint64(-9), beyondInt}},
        {"pavlet.blocksBest", [&] { return made((BlocksEngine *)nullptr); }, property("best"), 1200,
         {qint64(-1), beyondInt}},
        {"pavlet.reflexBest", [&] { return made((ReflexEngine *)nullptr); }, property("bestMS"), qint64(187),
         {qint64(0), qint64(-40), -12.0}},
        {"pavlet.cpsBest.10", [&] { return made((CPSEngine *)nullptr); }, cpsTen, 7.5, {0.0, -2.0, inf}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.key);
        auto store = [&](const QVariant &value) {
            if (value.typeId() == QMetaType::Double)
                defaults->setDouble(row.key, value.toDouble());
            else
                defaults->setInt(row.key, value.toLongLong());
        };
        defaults->remove(row.key);
        const QVariant none = row.read(row.make().get());
        store(row.good);
        EXPECT_EQ(row.read(row.make().get()), row.good);
        for (const QVariant &bad : row.bad) {
            store(bad);
            EXPECT_EQ(row.read(row.make().get()), none) << bad.toString().toStdString();
        }
        defaults->remove(row.key);
    }
}
