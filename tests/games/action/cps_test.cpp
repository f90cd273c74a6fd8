#include "actiontest.h"
#include "games/action/cpsengine.h"

namespace {

class CPSTest : public ActionTest {
protected:
    // Runs a test of length d with n clicks spread over its first second.
    void runTest(CPSEngine &e, CPSDuration d, int n)
    {
        e.select(d);
        e.prepare();
        for (int i = 0; i < n; ++i) {
            e.click();
            scheduler->advance(1000 / n);
        }
        scheduler->advanceSeconds(cpsLength(d));
    }
};

} // namespace

TEST_F(CPSTest, ResultIsClicksOverTheFullLength)
{
    auto e = make<CPSEngine>();
    runTest(*e, CPSDuration::ten, 57);
    EXPECT_EQ(e->phase(), CPSEngine::Phase::result);
    EXPECT_DOUBLE_EQ(e->lastCPS(), 5.7);
    EXPECT_TRUE(e->isNewBest());
    EXPECT_DOUBLE_EQ(defaults->doubleValue("pavlet.cpsBest.10"), 5.7);
    EXPECT_FALSE(e->isTicking());

    // The same result again is not a new best and writes nothing.
    written.clear();
    runTest(*e, CPSDuration::ten, 57);
    EXPECT_FALSE(e->isNewBest());
    EXPECT_TRUE(written.isEmpty());
}

TEST_F(CPSTest, LiveRateAndCountdown)
{
    auto e = make<CPSEngine>();
    e->click(); // ignored in howto
    EXPECT_EQ(e->clicks(), 0);
    e->prepare();
    e->click();
    EXPECT_EQ(e->phase(), CPSEngine::Phase::running);
    EXPECT_DOUBLE_EQ(e->cps(), 12.5);
    scheduler->advance(2000);
    EXPECT_NEAR(e->remaining(), 3.0, 0.04);
    EXPECT_NEAR(e->cps(), 0.5, 0.01);
    scheduler->advance(3100);
    // One click in five seconds: 0.2, the first best of that length.
    EXPECT_DOUBLE_EQ(e->lastCPS(), 0.2);
    EXPECT_TRUE(e->isNewBest());
    EXPECT_EQ(e->best().at(CPSDuration::five), 0.2);
}

TEST_F(CPSTest, LengthChangesOnlyOutsideARunAndResultClicksReArm)
{
    auto e = make<CPSEngine>();
    e->select(CPSDuration::thirty);
    e->prepare();
    e->click();
    e->select(CPSDuration::five);
    EXPECT_EQ(e->duration(), CPSDuration::thirty);

    scheduler->advance(31000);
    ASSERT_EQ(e->phase(), CPSEngine::Phase::result);
    e->click(); // only re-arms, not counted
    EXPECT_EQ(e->phase(), CPSEngine::Phase::ready);
    EXPECT_EQ(e->clicks(), 0);

    scheduler->advance(100);
    e->click();
    scheduler->advance(31000);
    e->select(CPSDuration::minute); // from result: ready again, counters cleared
    EXPECT_EQ(e->phase(), CPSEngine::Phase::ready);
    EXPECT_EQ(e->duration(), CPSDuration::minute);
    EXPECT_EQ(e->clicks(), 0);
    e->reset(); // the length survives a reset
    EXPECT_EQ(e->duration(), CPSDuration::minute);
}

TEST_F(CPSTest, StoredBestsAndSummary)
{
    defaults->setDouble("pavlet.cpsBest.5", 0);
    defaults->setDouble("pavlet.cpsBest.10", -2);
    defaults->setDouble("pavlet.cpsBest.30", 4.26);
    defaults->setDouble("pavlet.cpsBest.300", 6.0);
    auto e = make<CPSEngine>();
    EXPECT_EQ(e->bestMap(), QVariantMap({{"30", 4.26}, {"300", 6.0}}));
    EXPECT_EQ(e->bestSummary(), "4.3");

    defaults->remove("pavlet.cpsBest.30");
    defaults->remove("pavlet.cpsBest.300");
    EXPECT_EQ(make<CPSEngine>()->bestSummary(), QString());
}

TEST_F(CPSTest, TestCutOffByLeavingIsArmedAfreshWhenShownAgain)
{
    auto e = make<CPSEngine>();
    e->prepare();
    e->click();
    scheduler->advance(1000);
    e->stop();
    e->resume();
    EXPECT_EQ(e->phase(), CPSEngine::Phase::ready);
    EXPECT_EQ(e->clicks(), 0);
}
