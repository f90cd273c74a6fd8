#include "actiontest.h"
#include "games/action/dinoengine.h"

namespace {

class DinoTest : public ActionTest {
protected:
    std::unique_ptr<DinoEngine> running()
    {
        auto e = opened<DinoEngine>();
        e->start();
        return e;
    }
};

} // namespace

TEST_F(DinoTest, JumpArcAtSixtyFramesPerSecond)
{
    auto e = opened<DinoEngine>();
    e->jump(); // not running yet: nothing
    EXPECT_EQ(e->playerVy(), 0.0);
    e->press(); // starts the run and jumps
    EXPECT_EQ(e->playerY(), 4.0);
    EXPECT_EQ(e->playerVy(), 410.0);

    double peak = 0;
    int landed = 0;
    for (int frame = 1; frame <= 40 && !landed; ++frame) {
        e->advance(1.0 / 60.0);
        peak = std::max(peak, e->playerY());
        if (e->playerY() == 0 && e->playerVy() == 0)
            landed = frame;
    }
    EXPECT_NEAR(peak, 49.5, 0.5);
    EXPECT_EQ(landed, 29);
}

TEST_F(DinoTest, FirstObstacleArrivesAfterOnePointOhFiveSeconds)
{
    auto e = running();
    int frame = 0;
    while (e->obstacles().empty() && frame < 100) {
        e->advance(1.0 / 60.0);
        ++frame;
    }
    EXPECT_NEAR(frame, 63, 1);
    EXPECT_EQ(e->score(), 7);
    EXPECT_NEAR(e->speed(), 153.85, 1e-9);
    EXPECT_NEAR(e->obstacles().front().x, 480 + 0.56 * 153.85 + 52 - 153.85 / 60, 1e-9);
}

TEST_F(DinoTest, FlyersAndPairsOnlyFromTheirScores)
{
    struct Case {
        int score;
        bool flyers;
        bool pairs;
    };
    for (const Case c : {Case{18, false, false}, Case{19, false, true}, Case{40, false, true}, Case{41, true, true}}) {
        auto e = running();
        e->setDistance(c.score * 22 + 1);
        bool sawFlyer = false, sawPair = false;
        for (int i = 0; i < 300; ++i) {
            e->setObstacles({});
            e->spawn();
            sawFlyer |= e->obstacles().front().flying;
            sawPair |= e->obstacles().size() == 2;
        }
        EXPECT_EQ(sawFlyer, c.flyers) << c.score;
        EXPECT_EQ(sawPair, c.pairs) << c.score;
    }
}

TEST_F(DinoTest, ObstaclesLeaveWhenTheirRightEdgeReachesMinusTwenty)
{
    auto e = running();
    // At speed 150 a 0.01 s frame moves 1.5 points.
    e->setObstacles({{1, -32.5, 0, 14, 20, false}, {2, -32.4, 0, 14, 20, false}});
    e->advance(0.01);
    ASSERT_EQ(e->obstacles().size(), 1u);
    EXPECT_EQ(e->obstacles().front().id, 2);
}

TEST_F(DinoTest, CollisionNeedsPositiveOverlapOfShrunkBoxes)
{
    // The runner's shrunk box spans x 41...57 and y 3...23 above its feet.
    struct Case {
        DinoObstacle o;
        double playerY;
        bool hit;
    };
    const Case cases[] = {
        {{1, 55, 0, 16, 20, false}, 0, false}, // left edges touch
        {{1, 54.9, 0, 16, 20, false}, 0, true},
        {{1, 27, 0, 16, 20, false}, 0, false}, // right edges touch
        {{1, 27.1, 0, 16, 20, false}, 0, true},
        {{1, 45, 0, 16, 20, false}, 16, false}, // feet just clear the top
        {{1, 45, 0, 16, 20, false}, 15.9, true},
        {{1, 40, 52, 24, 16, true}, 0, false}, // a flyer clears a grounded runner
        {{1, 40, 21, 24, 16, true}, 0, true},
        {{1, 40, 52, 24, 16, true}, 30, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DinoEngine::collides(c.o, c.playerY), c.hit) << c.o.x << "," << c.o.y << " at " << c.playerY;
}

TEST_F(DinoTest, BestWrittenOnlyWhenBeatenAndResetKeepsIds)
{
    defaults->setInt("pavlet.dinoBest", 3);
    auto e = running();
    e->setDistance(3 * 22);
    written.clear();
    e->die();
    EXPECT_EQ(e->phase(), DinoEngine::Phase::dead);
    EXPECT_TRUE(written.isEmpty());

    e->reset();
    e->start();
    e->spawn();
    const qint64 next = e->nextID();
    e->setDistance(4 * 22);
    e->die();
    EXPECT_EQ(defaults->intValue("pavlet.dinoBest"), 4);

    e->reset();
    EXPECT_TRUE(e->obstacles().empty());
    EXPECT_EQ(e->best(), 4);
    EXPECT_EQ(e->nextID(), next);
}
