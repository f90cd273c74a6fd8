#include "games/patternengine.h"
#include "gameseeds.h"
#include "support/pavlettest.h"

using Phase = PatternEngine::Phase;

namespace {

class PatternTest : public PavletTest {
protected:
    std::unique_ptr<PatternEngine> make(std::uint64_t seed = 1)
    {
        random = std::make_unique<Random>(seed);
        return std::make_unique<PatternEngine>(defaults.get(), &clock, scheduler.get(), random.get());
    }
    void SetUp() override
    {
        PavletTest::SetUp();
        engine = make();
    }
    static int playbackMs(int n) { return 380 + 580 * n; }
    void playRound()
    {
        scheduler->advance(playbackMs(engine->round()));
        const auto sequence = engine->sequence();
        for (PatternHue h : sequence)
            engine->tap(h);
    }
    static PatternHue wrong(PatternHue h) { return PatternHue((int(h) + 1) % 4); }

    std::unique_ptr<Random> random;
    std::unique_ptr<PatternEngine> engine;
};

} // namespace

TEST_F(PatternTest, PlaybackTimingAndRounds)
{
    engine->newGame();
    EXPECT_EQ(engine->phase(), Phase::watch);
    scheduler->advance(379);
    EXPECT_FALSE(engine->lit().has_value());
    scheduler->advance(1);
    EXPECT_EQ(engine->lit(), engine->sequence()[0]);
    scheduler->advance(420);
    EXPECT_FALSE(engine->lit().has_value());
    scheduler->advance(159);
    EXPECT_EQ(engine->phase(), Phase::watch);
    scheduler->advance(1); // 960 ms
    EXPECT_EQ(engine->phase(), Phase::input);

    engine->tap(engine->sequence()[0]);
    EXPECT_EQ(engine->phase(), Phase::watch); // at once, on the completing tap
    EXPECT_EQ(engine->round(), 2);
    scheduler->advance(playbackMs(2) - 1);
    EXPECT_EQ(engine->phase(), Phase::watch);
    scheduler->advance(1);
    EXPECT_EQ(engine->phase(), Phase::input);
}

TEST_F(PatternTest, AWrongTapEndsTheGameAndTapsOutsideInputDoNothing)
{
    engine->tap(PatternHue::coral); // howto
    engine->newGame();
    scheduler->advance(500);
    engine->tap(PatternHue::coral); // watch
    EXPECT_EQ(engine->inputIndex(), 0);
    scheduler->advance(460);
    engine->tap(wrong(engine->sequence()[0]));
    EXPECT_EQ(engine->phase(), Phase::over);
    EXPECT_TRUE(engine->missed());
    EXPECT_EQ(engine->round(), 1);
    EXPECT_FALSE(engine->lit().has_value()); // the flash is cut short
    engine->tap(PatternHue::gold); // over
    EXPECT_FALSE(engine->lit().has_value());
    EXPECT_FALSE(defaults->contains("pavlet.patternBest"));
}

TEST_F(PatternTest, BestIsWrittenOnlyWhenBeaten)
{
    defaults->setInt("pavlet.patternBest", 2);
    engine = make();
    int writes = 0;
    QObject::connect(defaults.get(), &UserDefaults::changed, [&](const QString &) { ++writes; });
    engine->newGame();
    for (int round = 1; round <= 3; ++round)
        playRound();
    EXPECT_EQ(writes, 1); // rounds 1 and 2 only equal the best
    engine->reset();
    EXPECT_EQ(engine->best(), 3);
    EXPECT_EQ(make()->best(), 3);
}

TEST_F(PatternTest, StoppingOrRestartingCancelsThePlayback)
{
    engine->newGame();
    scheduler->advance(500);
    engine->stop();
    EXPECT_FALSE(engine->lit().has_value());
    scheduler->advance(5000);
    EXPECT_EQ(engine->phase(), Phase::watch);

    engine->newGame();
    scheduler->advance(500);
    engine->newGame(); // from the middle of a playback
    EXPECT_FALSE(engine->lit().has_value());
    scheduler->advance(playbackMs(1) - 1);
    EXPECT_EQ(engine->phase(), Phase::watch);
    scheduler->advance(1);
    EXPECT_EQ(engine->phase(), Phase::input);
}

TEST_F(PatternTest, TwoQuickTapsOfTheSamePadBothCount)
{
    engine = make(seedWhere([](Random &r) { return r.below(4) == r.below(4); }));
    engine->newGame();
    playRound();
    scheduler->advance(playbackMs(2));
    const PatternHue h = engine->sequence()[0];
    ASSERT_EQ(engine->sequence()[1], h);
    engine->tap(h);
    scheduler->advance(100);
    engine->tap(h);
    EXPECT_EQ(engine->round(), 3); // both matched
    scheduler->advance(39);
    EXPECT_EQ(engine->lit(), h);
    scheduler->advance(1); // 140 ms after the first tap
    EXPECT_FALSE(engine->lit().has_value());
}
