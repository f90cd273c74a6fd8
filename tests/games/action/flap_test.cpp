#include "actiontest.h"
#include "games/action/flapengine.h"

using FlapTest = ActionTest;

TEST_F(FlapTest, OpeningRangeFollowsTheFieldHeight)
{
    auto e = opened<FlapEngine>();
    e->setFieldHeight(80); // too small: ignored
    EXPECT_EQ(e->fieldHeight(), 196.0);
    e->setFieldHeight(248); // a waiting bird moves to 0.48 of it
    EXPECT_DOUBLE_EQ(e->birdY(), 119.04);

    using Range = std::pair<double, double>;
    EXPECT_EQ(FlapEngine::gapRange(196), Range(22, 46));
    EXPECT_EQ(FlapEngine::gapRange(248), Range(22, 98));
    EXPECT_EQ(FlapEngine::gapRange(172), Range(22, 22));
    EXPECT_EQ(FlapEngine::gapRange(100), Range(22, 22));
}

TEST_F(FlapTest, FlapInEachPhase)
{
    auto e = opened<FlapEngine>();
    e->flap();
    EXPECT_EQ(e->birdVy(), 270.0);
    e->advance(0.05);
    e->flap();
    EXPECT_EQ(e->birdVy(), 270.0);

    e->setPipes({{9, 300, 40, false}});
    e->die();
    e->flap(); // a fresh run at once
    EXPECT_EQ(e->phase(), FlapEngine::Phase::running);
    EXPECT_EQ(e->score(), 0);
    EXPECT_TRUE(e->pipes().empty());
    EXPECT_EQ(e->birdY(), 118.0);
    EXPECT_EQ(e->birdVy(), 270.0);
}

TEST_F(FlapTest, PipeScoresOnceWhenItsRightEdgePassesTheBird)
{
    auto e = opened<FlapEngine>();
    e->flap();
    e->setPipes({{1, 13, 60, false}}); // right edge 49; 148 pt/s moves it 1.48 in 0.01 s
    e->advance(0.01);
    EXPECT_EQ(e->score(), 1);
    e->advance(0.01);
    EXPECT_EQ(e->score(), 1);

    // A pipe whose right edge reaches -30 is dropped; at score 1 pipes move
    // 151 pt/s, 2.359375 pt in 1/64 s.
    e->setPipes({{2, -66 + 2.359375, 60, true}, {3, -66 + 2.36, 60, true}});
    e->advance(1.0 / 64);
    ASSERT_EQ(e->pipes().size(), 1u);
    EXPECT_EQ(e->pipes().front().id, 3);
}

TEST_F(FlapTest, FloorAndCeilingComeBeforeThePipesMove)
{
    auto e = opened<FlapEngine>();
    e->setFieldHeight(400); // high enough for the flap not to reach the ceiling
    e->flap();
    e->setPipes({{1, 300, 40, false}});
    double pipeX = 300;
    for (int n = 0; e->phase() == FlapEngine::Phase::running && n < 200; ++n) {
        pipeX = e->pipes().front().x;
        e->advance(1.0 / 60.0);
    }
    EXPECT_EQ(e->phase(), FlapEngine::Phase::dead);
    EXPECT_EQ(e->birdY(), 0.0);
    EXPECT_EQ(e->pipes().front().x, pipeX); // did not move in the fatal frame

    auto low = opened<FlapEngine>();
    low->setFieldHeight(150);
    low->flap();
    frames(*low, 30);
    EXPECT_EQ(low->phase(), FlapEngine::Phase::dead);
    EXPECT_EQ(low->birdY(), 150.0 - 26);
}

TEST_F(FlapTest, PipeScheduleAndCollision)
{
    auto e = opened<FlapEngine>();
    e->setFieldHeight(10000); // room to fall for the whole schedule
    e->flap();
    std::vector<int> spawnFrames;
    for (int frame = 1; frame <= 240; ++frame) {
        const size_t before = e->pipes().size();
        e->advance(1.0 / 64.0);
        ASSERT_EQ(e->phase(), FlapEngine::Phase::running) << frame;
        if (e->pipes().size() > before) {
            spawnFrames.push_back(frame);
            EXPECT_NEAR(e->pipes().back().x, 460 - 148.0 / 64, 1e-9);
        }
    }
    // 1.8 s is frame 115.2 and 1.85 s more is 118.4 frames.
    EXPECT_EQ(spawnFrames, (std::vector<int>{116, 235}));

    // The bird's 14-point core against the upper and then the lower pipe.
    EXPECT_TRUE(FlapEngine::collides({1, 40, 100, false}, 100 + 128 - 20 + 0.1));
    EXPECT_FALSE(FlapEngine::collides({1, 40, 100, false}, 100 + 128 - 20));
    EXPECT_TRUE(FlapEngine::collides({1, 40, 100, false}, 100 - 6 - 0.1));
    EXPECT_FALSE(FlapEngine::collides({1, 18, 100, false}, 0)); // right edge meets the core's left edge
}

TEST_F(FlapTest, BestWrittenOnlyWhenBeaten)
{
    defaults->setInt("pavlet.flapBest", 1);
    auto e = opened<FlapEngine>();
    e->flap();
    e->setPipes({{1, 13, 60, false}});
    e->advance(0.01);
    written.clear();
    e->die();
    EXPECT_TRUE(written.isEmpty());
    e->flap();
    e->setPipes({{2, 13, 60, false}, {3, 12, 60, false}});
    e->advance(0.01);
    e->die();
    EXPECT_EQ(e->best(), 2);
    EXPECT_EQ(defaults->intValue("pavlet.flapBest"), 2);
}

TEST_F(FlapTest, BlinkKeepsTimeFromTheReferenceDate)
{
    auto e = opened<FlapEngine>();
    e->setFieldHeight(5000);
    e->flap();
    const double cycle = 1750000; // a whole number of 1.75 s cycles after the reference date
    const struct {
        double offset;
        bool blink;
    } rows[] = {{0, true}, {0.1, true}, {0.125, false}, {1.0, false}, {-1.25, false}, {1.75, true}, {-0.01, false}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.offset);
        clock.setNowMs(qint64(std::llround((Clock::ReferenceEpochSeconds + cycle + row.offset) * 1000)));
        e->advance(0.001);
        EXPECT_EQ(e->blink(), row.blink);
    }
}
