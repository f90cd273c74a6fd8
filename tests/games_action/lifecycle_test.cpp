#include "actiontest.h"
#include "blocksengine.h"
#include "cpsengine.h"
#include "dinoengine.h"
#include "flapengine.h"
#include "pongengine.h"
#include "reflexengine.h"
#include "snakeengine.h"
#include "stackengine.h"

#include <functional>

namespace {

// One engine as the games panel drives it: how a run begins, what moves
// while it runs, and its stop and resume.
struct Rig {
    const char *name;
    std::function<void()> begin;
    std::function<QString()> state;
    std::function<void()> stop;
    std::function<void()> resume;
    std::shared_ptr<QObject> engine; // the only owner: the lambdas hold plain pointers
    int runMs = 1500;
};

template<typename E>
QString describe(const E &e, double a, double b = 0)
{
    return QStringLiteral("%1 %2 %3").arg(int(e.phase())).arg(a, 0, 'g', 12).arg(b, 0, 'g', 12);
}

class LifecycleTest : public ActionTest {
protected:
    template<typename E>
    std::shared_ptr<E> shared()
    {
        return std::shared_ptr<E>(make<E>().release());
    }

    std::vector<Rig> rigs()
    {
        std::vector<Rig> out;
        auto blocksOwner = shared<BlocksEngine>();
        BlocksEngine *blocks = blocksOwner.get();
        out.push_back({"blocks", [=] { blocks->reset(); blocks->begin(); },
                       [=] { return describe(*blocks, blocks->dropIn(), blocks->active() ? blocks->active()->row : -1); },
                       [=] { blocks->stop(); }, [=] { blocks->resume(); }, blocksOwner});
        auto cpsOwner = shared<CPSEngine>();
        CPSEngine *cps = cpsOwner.get();
        out.push_back({"cps", [=] { cps->reset(); cps->prepare(); cps->click(); },
                       [=] { return describe(*cps, cps->remaining(), cps->clicks()); }, [=] { cps->stop(); },
                       [=] { cps->resume(); cps->click(); }, cpsOwner});
        auto dinoOwner = shared<DinoEngine>();
        DinoEngine *dino = dinoOwner.get();
        out.push_back({"dino", [=] { dino->reset(); dino->press(); },
                       [=] { return describe(*dino, dino->groundOffset(), dino->playerY()); },
                       [=] { dino->stop(); }, [=] { dino->resume(); }, dinoOwner});
        auto flapOwner = shared<FlapEngine>();
        FlapEngine *flap = flapOwner.get();
        out.push_back({"flap", [=] { flap->reset(); flap->setFieldHeight(5000); flap->flap(); },
                       [=] { return describe(*flap, flap->birdY()); }, [=] { flap->stop(); },
                       [=] { flap->resume(); }, flapOwner});
        auto pongOwner = shared<PongEngine>();
        PongEngine *pong = pongOwner.get();
        out.push_back({"pong", [=] { pong->reset(); pong->start(PongDifficulty::hard); },
                       [=] { return describe(*pong, pong->ballX(), pong->npcY()); }, [=] { pong->stop(); },
                       [=] { pong->start(PongDifficulty::hard); }, pongOwner});
        auto reflexOwner = shared<ReflexEngine>();
        ReflexEngine *reflex = reflexOwner.get();
        out.push_back({"reflex", [=] { reflex->reset(); reflex->tap(); },
                       [=] { return describe(*reflex, reflex->pulse()); }, [=] { reflex->stop(); },
                       [=] { reflex->tap(); }, reflexOwner, 4000});
        auto snakeOwner = shared<SnakeEngine>();
        SnakeEngine *snake = snakeOwner.get();
        out.push_back({"snake", [=] { snake->reset(); snake->start(); },
                       [=] { return describe(*snake, double(snake->snake().front().x), double(snake->score())); },
                       [=] { snake->stopTimer(); }, [=] { snake->resume(); }, snakeOwner});
        auto stackOwner = shared<StackEngine>();
        StackEngine *stack = stackOwner.get();
        out.push_back({"stack", [=] { stack->reset(); stack->start(); },
                       [=] { return describe(*stack, stack->movingX()); }, [=] { stack->stop(); },
                       [=] { stack->resume(); }, stackOwner});
        return out;
    }
};

} // namespace

TEST_F(LifecycleTest, TimersDriveRunsAndStopEndsThem)
{
    for (Rig &rig : rigs()) {
        SCOPED_TRACE(rig.name);
        rig.begin();
        EXPECT_GT(scheduler->pendingCount(), 0);
        const QString before = rig.state();
        scheduler->advance(rig.runMs);
        const QString running = rig.state();
        EXPECT_NE(running, before);

        rig.stop();
        EXPECT_EQ(scheduler->pendingCount(), 0);
        scheduler->advance(2000);
        EXPECT_EQ(rig.state(), running) << "moved after stop";

        // Shown again without a reset, the game is not left frozen.
        rig.resume();
        EXPECT_GT(scheduler->pendingCount(), 0);
        rig.stop();

        // An engine destroyed with its timer running leaves nothing behind.
        rig.begin();
        rig.engine.reset();
        scheduler->advance(5000);
        EXPECT_EQ(scheduler->pendingCount(), 0);
    }
}
