#include "actiontest.h"
#include "games/action/reflexengine.h"

namespace {

class ReflexTest : public ActionTest {
protected:
    // Taps to start and lets time run to the very millisecond GO shows.
    void toGo(ReflexEngine &e)
    {
        e.tap();
        ASSERT_EQ(e.phase(), ReflexEngine::Phase::waiting);
        int waited = 0;
        while (e.phase() == ReflexEngine::Phase::waiting && waited < 4000) {
            scheduler->advance(1);
            ++waited;
        }
        ASSERT_EQ(e.phase(), ReflexEngine::Phase::go);
        EXPECT_GE(waited, 1150);
        EXPECT_LE(waited, 3600);
    }
};

} // namespace

TEST_F(ReflexTest, AttemptMeasuresFromGoAndKeepsTheLowestBest)
{
    for (auto [ms, word] : std::initializer_list<std::pair<qint64, const char *>>{
             {159, "Insane"}, {160, "Fast"}, {199, "Fast"}, {200, "Sharp"}, {260, "Okay"}, {319, "Okay"}, {320, "Slow"}})
        EXPECT_EQ(ReflexEngine::rating(ms), word) << ms;

    auto e = make<ReflexEngine>();
    EXPECT_EQ(e->ratingLabel(), QString());
    toGo(*e);

    scheduler->advance(140);
    EXPECT_NEAR(e->pulse(), 0.5, 0.06);
    EXPECT_TRUE(e->isPulsing());
    scheduler->advance(400);
    EXPECT_EQ(e->pulse(), 1.0);
    EXPECT_FALSE(e->isPulsing()); // a full pulse stops its frames before the tap
    e->tap();
    EXPECT_EQ(e->phase(), ReflexEngine::Phase::result);
    EXPECT_EQ(e->lastMS(), 540);
    EXPECT_EQ(e->ratingLabel(), "Slow");
    EXPECT_EQ(e->bestMS(), 540); // the first time is always the best

    written.clear();
    toGo(*e);
    scheduler->advance(540);
    e->tap();
    EXPECT_EQ(e->lastMS(), 540);
    EXPECT_TRUE(written.isEmpty()) << written.join(",").toStdString(); // equal: not rewritten

    toGo(*e);
    scheduler->advance(159);
    e->tap();
    EXPECT_EQ(e->bestMS(), 159);
    EXPECT_EQ(e->ratingLabel(), "Insane");
    EXPECT_EQ(defaults->intValue("pavlet.reflexBest"), 159);
    EXPECT_EQ(make<ReflexEngine>()->bestMS(), 159);

    // A tap within the very millisecond of GO still counts one.
    toGo(*e);
    e->tap();
    EXPECT_EQ(e->lastMS(), 1);
}

TEST_F(ReflexTest, EarlyTapIsAFalseStart)
{
    auto e = make<ReflexEngine>();
    e->tap();
    scheduler->advance(500);
    e->tap();
    EXPECT_EQ(e->phase(), ReflexEngine::Phase::falseStart);
    EXPECT_FALSE(e->lastMS().has_value());
    scheduler->advance(5000);
    EXPECT_EQ(e->phase(), ReflexEngine::Phase::falseStart); // GO never comes
    e->tap();
    EXPECT_EQ(e->phase(), ReflexEngine::Phase::waiting);
    EXPECT_TRUE(e->isWaiting());
}

TEST_F(ReflexTest, LeavingMidAttemptNeverStrandsThePage)
{
    // Stopped during the wait: GO never shows, and the next tap starts a
    // fresh attempt rather than counting as a false start.
    auto e = make<ReflexEngine>();
    e->tap();
    e->stop();
    scheduler->advance(5000);
    EXPECT_EQ(e->phase(), ReflexEngine::Phase::waiting);
    e->tap();
    EXPECT_EQ(e->phase(), ReflexEngine::Phase::waiting);
    EXPECT_TRUE(e->isWaiting());

    // Stopped while GO shows: the next tap starts again instead of doing
    // nothing forever.
    scheduler->advance(3600);
    ASSERT_EQ(e->phase(), ReflexEngine::Phase::go);
    e->stop();
    EXPECT_FALSE(e->isPulsing());
    e->tap();
    EXPECT_EQ(e->phase(), ReflexEngine::Phase::waiting);
    EXPECT_FALSE(e->lastMS().has_value());
}

TEST_F(ReflexTest, StoredBestMustBeAWholeNumber)
{
    defaults->setString("pavlet.reflexBest", "180");
    EXPECT_FALSE(make<ReflexEngine>()->bestMS().has_value());
    defaults->setDouble("pavlet.reflexBest", 180.5);
    EXPECT_FALSE(make<ReflexEngine>()->bestMS().has_value());
    defaults->setDouble("pavlet.reflexBest", 180.0);
    EXPECT_EQ(make<ReflexEngine>()->bestMS(), 180);
}
