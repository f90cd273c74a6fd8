#include "actiontest.h"
#include "games/action/blocksengine.h"
#include "games/action/cpsengine.h"
#include "games/action/dinoengine.h"
#include "games/action/flapengine.h"
#include "games/action/pongengine.h"
#include "games/action/reflexengine.h"
#include "games/action/snakeengine.h"
#include "games/action/stackengine.h"

#include <QSignalSpy>

#include <functional>

namespace {

// One engine as the games panel drives it: how a run begins, what moves
// while it runs, its stop and its pick-up when shown again.
struct Rig {
    const char *name;
    std::function<void()> begin, stop, resume;
    std::function<QString()> state;
    std::shared_ptr<QObject> engine; // the only owner
    int runMs = 1500;
};

class LifecycleTest : public ActionTest {
protected:
    template<typename E>
    Rig rig(const char *name, void (*begin)(E &), QString (*state)(E &), void (*resume)(E &), int runMs = 1500)
    {
        std::shared_ptr<E> owner(make<E>().release());
        E *e = owner.get();
        return Rig{name,
                   [=] { e->reset(); begin(*e); },
                   [=] { e->stop(); },
                   [=] { resume(*e); },
                   [=] { return QString::number(int(e->phase())) + ' ' + state(*e); },
                   owner,
                   runMs};
    }
};

} // namespace

TEST_F(LifecycleTest, TimersDriveRunsAndStopEndsThem)
{
    std::vector<Rig> rigs = {
        rig<BlocksEngine>("blocks", [](auto &e) { e.begin(); }, [](auto &e) { return QString::number(e.dropIn()); },
                          [](auto &e) { e.resume(); }),
        rig<CPSEngine>("cps", [](auto &e) { e.prepare(); e.click(); },
                       [](auto &e) { return QString::number(e.remaining()); }, [](auto &e) { e.resume(); e.click(); }),
        rig<DinoEngine>("dino", [](auto &e) { e.press(); }, [](auto &e) { return QString::number(e.groundOffset()); },
                        [](auto &e) { e.resume(); }),
        rig<FlapEngine>("flap", [](auto &e) { e.setFieldHeight(5000); e.flap(); },
                        [](auto &e) { return QString::number(e.birdY()); }, [](auto &e) { e.resume(); }),
        rig<PongEngine>("pong", [](auto &e) { e.start(PongDifficulty::hard); },
                        [](auto &e) { return QString::number(e.ballX()); },
                        [](auto &e) { e.resume(); }),
        rig<ReflexEngine>("reflex", [](auto &e) { e.tap(); }, [](auto &e) { return QString::number(e.pulse()); },
                          [](auto &e) { e.tap(); }, 4000),
        rig<SnakeEngine>("snake", [](auto &e) { e.start(); },
                         [](auto &e) { return QString::number(e.snake().front().x); }, [](auto &e) { e.resume(); }),
        rig<StackEngine>("stack", [](auto &e) { e.start(); }, [](auto &e) { return QString::number(e.movingX()); },
                         [](auto &e) { e.resume(); }),
    };
    for (Rig &r : rigs) {
        SCOPED_TRACE(r.name);
        r.begin();
        const QString before = r.state();
        scheduler->advance(r.runMs);
        const QString running = r.state();
        EXPECT_NE(running, before);

        r.stop();
        EXPECT_EQ(scheduler->pendingCount(), 0);
        scheduler->advance(2000);
        EXPECT_EQ(r.state(), running) << "moved after stop";

        // Shown again without a reset, the game is not left frozen.
        r.resume();
        EXPECT_GT(scheduler->pendingCount(), 0);
        r.stop();

        // An engine destroyed with its timer running leaves nothing behind.
        r.begin();
        r.engine.reset();
        scheduler->advance(5000);
        EXPECT_EQ(scheduler->pendingCount(), 0);
    }
}

// The running games step on ticks of exactly their rate, counted on the
// clock, so they keep in step with a 60 Hz display instead of beating
// against it.
TEST_F(LifecycleTest, RunningGamesTickAtTheirRate)
{
    auto dino = make<DinoEngine>();
    auto flap = make<FlapEngine>();
    auto pong = make<PongEngine>();
    auto stack = make<StackEngine>();
    auto cps = make<CPSEngine>();
    const struct {
        const char *name;
        std::function<void()> begin;
        QObject *engine;
        const char *change;
        int seconds;
        int perSecond;
    } rows[] = {
        {"dino", [&] { dino->press(); }, dino.get(), SIGNAL(groundOffsetChanged()), 1, 60},
        {"flap", [&] { flap->setFieldHeight(5000); flap->flap(); }, flap.get(), SIGNAL(birdChanged()), 1, 60},
        {"pong", [&] { pong->start(PongDifficulty::hard); }, pong.get(), SIGNAL(frameChanged()), 1, 60},
        {"stack", [&] { stack->start(); }, stack.get(), SIGNAL(movingChanged()), 3, 60},
        {"cps", [&] { cps->select(CPSDuration::thirty); cps->prepare(); cps->click(); }, cps.get(),
         SIGNAL(remainingChanged()), 10, 30},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        row.begin();
        QSignalSpy spy(row.engine, row.change);
        scheduler->advance(row.seconds * 1000);
        EXPECT_EQ(spy.count(), row.seconds * row.perSecond);
    }
}
