#include "actiontest.h"
#include "games/action/stackengine.h"

namespace {

class StackTest : public ActionTest {
protected:
    std::unique_ptr<StackEngine> running()
    {
        auto e = opened<StackEngine>();
        e->start();
        return e;
    }
};

} // namespace

TEST_F(StackTest, PerfectDropCopiesTheTopSlab)
{
    auto e = running();
    e->setMoving(0.18 + 0.011, 0.64, true);
    e->placeSlab();
    EXPECT_EQ(e->slabs().back(), (StackSlab{1, 0.18, 0.64}));
    EXPECT_EQ(e->score(), 2);
    EXPECT_TRUE(e->perfect());
    EXPECT_EQ(e->shout(), "Locked in");

    scheduler->advance(270);
    EXPECT_TRUE(e->perfect());
    scheduler->advance(30);
    EXPECT_FALSE(e->perfect());
}

TEST_F(StackTest, PlainDropCutsTheOverhang)
{
    auto e = running();
    e->setMoving(0.18 + 0.032, 0.64, true); // overlap 0.608: fit 0.95
    e->placeSlab();
    EXPECT_DOUBLE_EQ(e->slabs().back().x, 0.212);
    EXPECT_DOUBLE_EQ(e->slabs().back().width, 0.608);
    EXPECT_EQ(e->score(), 1);
    EXPECT_EQ(e->shout(), "Clean");
    // Dropped while moving right: the next slab enters at the right edge.
    EXPECT_FALSE(e->goingRight());
    EXPECT_DOUBLE_EQ(e->movingX(), 1 - 0.608);
    EXPECT_DOUBLE_EQ(e->movingWidth(), 0.608);
    EXPECT_NEAR(e->velocity(), 0.62, 1e-12);

    e->setMoving(0.2, 0.608, false);
    e->placeSlab();
    EXPECT_TRUE(e->goingRight());
    EXPECT_EQ(e->movingX(), 0.0);
}

TEST_F(StackTest, ToppleThresholdAndBest)
{
    defaults->setInt("pavlet.stackBest", 1);
    auto e = running();
    written.clear();
    e->setMoving(0.82 - 0.028, 0.64, true); // overlap of 0.028 still holds
    e->placeSlab();
    EXPECT_EQ(e->phase(), StackEngine::Phase::running);
    EXPECT_EQ(e->score(), 1);
    EXPECT_TRUE(written.isEmpty());

    // Equal to the best: the run ends without a write.
    e->setMoving(0.9, 0.64, true);
    e->placeSlab();
    EXPECT_EQ(e->phase(), StackEngine::Phase::over);
    EXPECT_TRUE(written.isEmpty());

    e->tap(); // a new run on a fresh tower
    EXPECT_EQ(e->phase(), StackEngine::Phase::running);
    EXPECT_EQ(e->slabs().size(), 1u);
    e->setMoving(0.18, 0.64, true);
    e->placeSlab(); // perfect: 2
    e->setMoving(-0.7, 0.64, true); // entirely beside the tower
    e->placeSlab();
    EXPECT_EQ(defaults->intValue("pavlet.stackBest"), 2);
}

TEST_F(StackTest, SpeedCameraAndSliding)
{
    EXPECT_LT(StackEngine::speedFor(22), 1.35);
    EXPECT_EQ(StackEngine::speedFor(23), 1.35);

    auto e = running();
    e->advance(1.0); // capped at 0.05 s
    EXPECT_NEAR(e->movingX(), 0.05 * 0.55, 1e-12);
    e->setMoving(0.36 - 0.01, 0.64, true);
    e->advance(0.05); // reaches the turning point 0.36: pinned and turned
    EXPECT_EQ(e->movingX(), 0.36);
    EXPECT_FALSE(e->goingRight());

    // The camera eases toward its target once the tower passes six slabs.
    for (int i = 0; i < 7; ++i) {
        e->setMoving(e->slabs().back().x, e->slabs().back().width, true);
        e->placeSlab();
    }
    e->advance(0.05); // 8 slabs: target 36, 0.4 of the way in one step
    EXPECT_NEAR(e->camera(), 0.4 * 36, 1e-9);
}

TEST_F(StackTest, ShoutsReplaceEachOtherAndFade)
{
    auto e = running();
    e->setMoving(0.18, 0.64, true);
    e->placeSlab();
    const qint64 first = e->shoutID();
    EXPECT_EQ(e->shout(), "Locked in");
    scheduler->advance(500);
    e->setMoving(e->slabs().back().x + 0.05, 0.64, e->goingRight());
    e->placeSlab();
    const QString second = e->shout();
    scheduler->advance(400); // 900 ms after the first
    EXPECT_EQ(e->shout(), second);
    scheduler->advance(450); // 850 ms after the second
    EXPECT_EQ(e->shout(), QString());

    // Leaving mid-run takes a shout down with its clearing task.
    e->placeSlab();
    e->stop();
    EXPECT_EQ(e->shout(), QString());
    e->reset();
    EXPECT_EQ(e->shoutID(), first + 2);
}
