#include "services/timerstore.h"
#include "support/pavlettest.h"

#include <QSignalSpy>

namespace {

struct ParseCase {
    const char *text;
    std::optional<double> seconds;
};

void PrintTo(const ParseCase &c, std::ostream *os)
{
    *os << '"' << c.text << '"';
}

class ParseDurationTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDurationTest, ReadsTypedDurations)
{
    const ParseCase c = GetParam();
    EXPECT_EQ(TimerStore::parseDuration(QString::fromUtf8(c.text)), c.seconds) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseDurationTest,
    ::testing::Values(ParseCase{"25", 1500}, ParseCase{"1h30", 5400}, ParseCase{"1 hour 30 min", 5400},
                      ParseCase{"90s", 90}, ParseCase{"4:30", 270}, ParseCase{"1:00:00", 3600},
                      ParseCase{"4：30", 270}, ParseCase{"1h2h", 10800}, ParseCase{"5m5m", 600},
                      ParseCase{"1m30", 1860}, ParseCase{"+5:30", 330}, ParseCase{"2 Hours 5 Seconds", 7205},
                      ParseCase{"0", 0}, ParseCase{"5:60", std::nullopt}, ParseCase{"5::30", std::nullopt},
                      ParseCase{":30", std::nullopt}, ParseCase{"1.5h", std::nullopt},
                      ParseCase{"2 hrs", std::nullopt}, ParseCase{"-5m", std::nullopt},
                      ParseCase{"0m", std::nullopt}, ParseCase{"-1:30", std::nullopt},
                      ParseCase{"h5", std::nullopt}, ParseCase{"", std::nullopt}, ParseCase{"  ", std::nullopt},
                      ParseCase{"1:2:3:4", std::nullopt}, ParseCase{"٣m", std::nullopt},
                      // Numbers too large for the total: no duration, never a wrapped one.
                      ParseCase{"2562047788015216h", std::nullopt},
                      ParseCase{"153722867280912931", std::nullopt},
                      ParseCase{"99999999999999999999", std::nullopt},
                      ParseCase{"9223372036854775807:00", std::nullopt},
                      ParseCase{"3000000000000000:00:00", std::nullopt},
                      ParseCase{"9223372036854775807s1s", std::nullopt},
                      ParseCase{"2562047788015215h", 2562047788015215.0 * 3600}));

class TimerStoreTest : public PavletTest {
protected:
    std::unique_ptr<TimerStore> make(std::optional<double> preset = std::nullopt)
    {
        return std::make_unique<TimerStore>(preset, defaults.get(), &clock, scheduler.get());
    }
};

TEST_F(TimerStoreTest, PresetComesFromArgumentThenDefaultsThenDefaultAndIsClamped)
{
    EXPECT_EQ(make()->preset(), 1500);
    defaults->setDouble("timerPresetSeconds", 20000);
    EXPECT_EQ(make()->preset(), 10800);
    defaults->setDouble("timerPresetSeconds", 5);
    EXPECT_EQ(make()->preset(), 60);
    auto timer = make(600);
    EXPECT_EQ(timer->preset(), 600);
    EXPECT_EQ(timer->remaining(), 600);
    EXPECT_EQ(timer->display(), "10:00");
    EXPECT_EQ(make(10800)->display(), "180:00") << "minutes are not wrapped into hours";
}

TEST_F(TimerStoreTest, CountsDownAgainstTheEndDateAndFinishesAtZero)
{
    auto timer = make(60);
    QSignalSpy running(timer.get(), &TimerStore::isRunningChanged);
    timer->start();
    EXPECT_TRUE(timer->isRunning());
    ASSERT_TRUE(timer->endDateMs());
    EXPECT_EQ(*timer->endDateMs(), clock.nowMs() + 60000);

    scheduler->advance(10250);
    EXPECT_NEAR(timer->remaining(), 49.75, 1e-9);
    // A late tick still reads the right time.
    clock.advanceMs(5000);
    scheduler->advance(250);
    EXPECT_NEAR(timer->remaining(), 44.5, 1e-9);

    scheduler->advance(60000);
    EXPECT_FALSE(timer->isRunning());
    EXPECT_EQ(timer->remaining(), 0);
    EXPECT_FALSE(timer->endDateMs());
    EXPECT_EQ(scheduler->pendingCount(), 0);
    EXPECT_EQ(running.count(), 2);

    // Starting again reloads the preset.
    timer->start();
    EXPECT_EQ(timer->remaining(), 60);
    EXPECT_TRUE(timer->isRunning());
}

TEST_F(TimerStoreTest, SettingTheWallClockNeitherStretchesNorEndsTheCountdown)
{
    auto timer = make(1500);
    timer->start();
    scheduler->advance(10000);
    EXPECT_NEAR(timer->remaining(), 1490, 1e-9);

    clock.setNowMs(clock.nowMs() - 3600000); // set back an hour
    scheduler->advance(250);
    EXPECT_NEAR(timer->remaining(), 1489.75, 1e-9);
    EXPECT_EQ(timer->display(), "24:50");
    ASSERT_TRUE(timer->endDateMs());
    EXPECT_EQ(*timer->endDateMs(), clock.nowMs() + 1489750) << "the end moves with the wall clock";

    clock.setNowMs(clock.nowMs() + 2 * 3600000); // and forward two
    scheduler->advance(250);
    EXPECT_TRUE(timer->isRunning());
    EXPECT_NEAR(timer->remaining(), 1489.5, 1e-9);

    scheduler->advance(1489500);
    EXPECT_FALSE(timer->isRunning());
    EXPECT_EQ(timer->remaining(), 0);
}

TEST_F(TimerStoreTest, TimeAsleepCountsDown)
{
    auto timer = make(1500);
    timer->start();
    scheduler->advance(1000);
    clock.sleepMs(600000); // the lid closed for ten minutes
    scheduler->advance(250);
    EXPECT_NEAR(timer->remaining(), 1500 - 601.25, 1e-9);
    clock.sleepMs(3600000); // asleep past the end
    scheduler->advance(250);
    EXPECT_FALSE(timer->isRunning());
    EXPECT_EQ(timer->remaining(), 0);
}

TEST_F(TimerStoreTest, PauseKeepsTheExactRemainderAndDisplayRounds)
{
    auto timer = make(1500);
    timer->start();
    scheduler->advance(1500000 - 754600);
    timer->pause();
    EXPECT_FALSE(timer->isRunning());
    EXPECT_NEAR(timer->remaining(), 754.6, 1e-9);
    EXPECT_EQ(timer->display(), "12:35");
    EXPECT_EQ(scheduler->pendingCount(), 0);
    scheduler->advance(5000);
    EXPECT_NEAR(timer->remaining(), 754.6, 1e-9);

    timer->reset();
    EXPECT_EQ(timer->remaining(), 1500);
    EXPECT_TRUE(timer->isAtPreset());
}

TEST_F(TimerStoreTest, SetDurationAtPresetStoresANewPreset)
{
    auto timer = make();
    timer->setDuration(30);
    EXPECT_EQ(timer->preset(), 60);
    EXPECT_EQ(timer->display(), "1:00");
    EXPECT_EQ(reopenDefaults()->doubleValue("timerPresetSeconds"), 60);
}

TEST_F(TimerStoreTest, SetDurationWhilePausedChangesOnlyTheRemainder)
{
    auto timer = make(1500);
    timer->start();
    scheduler->advance(60000);
    timer->pause();
    timer->setDuration(20000);
    EXPECT_EQ(timer->remaining(), 10800);
    EXPECT_EQ(timer->preset(), 1500);
    timer->setDuration(-5);
    timer->setDuration(0);
    EXPECT_EQ(timer->remaining(), 10800);
}

TEST_F(TimerStoreTest, AdjustMovesThePresetOrThePausedRemainder)
{
    auto timer = make(1500);
    timer->start();
    scheduler->advance(1500000 - 180000);
    timer->pause();
    EXPECT_EQ(timer->display(), "3:00");
    timer->adjust(-5);
    EXPECT_EQ(timer->remaining(), 1);
    EXPECT_EQ(timer->preset(), 1500);

    auto other = make(10000);
    other->adjust(200);
    EXPECT_EQ(other->preset(), 10800);
    EXPECT_EQ(other->remaining(), 10800);
    other->adjust(-1000);
    EXPECT_EQ(other->preset(), 60);
}

TEST_F(TimerStoreTest, EditsAreIgnoredWhileRunningButThePresetIsStillStored)
{
    auto timer = make(600);
    timer->start();
    scheduler->advance(1000);
    timer->setDuration(120);
    timer->adjust(5);
    EXPECT_EQ(timer->preset(), 600);
    EXPECT_NEAR(timer->remaining(), 599, 1e-9);

    timer->setPreset(900);
    EXPECT_EQ(timer->preset(), 900);
    EXPECT_NEAR(timer->remaining(), 599, 1e-9);
    EXPECT_EQ(reopenDefaults()->doubleValue("timerPresetSeconds"), 900);
}

} // namespace
