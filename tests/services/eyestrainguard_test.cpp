#include "fakes/fakeidletime.h"
#include "services/eyestrainguard.h"
#include "support/pavlettest.h"

#include <QSignalSpy>

namespace {

class EyeStrainGuardTest : public PavletTest {
protected:
    // Ticks every `every` seconds for `seconds` seconds.
    void tickFor(double seconds, double every = 1.0)
    {
        for (double t = 0; t < seconds; t += every) {
            clock.advanceMs(qint64(every * 1000));
            guard.tick();
        }
    }

    FakeIdleTime idle;
    EyeStrainGuard guard{&idle, &clock};
};

TEST_F(EyeStrainGuardTest, CountsOnlyActiveTimeAndAtMostTwoSecondsATick)
{
    struct Case {
        const char *name;
        std::optional<double> idleSeconds;
        qint64 gapMs;
        double added;
    };
    const Case cases[] = {
        {"1 s apart, input 5 s ago", 5.0, 1000, 1.0},
        {"30 s gap", 5.0, 30000, 2.0},
        {"away for 20 s", 20.0, 1000, 0.0},
        {"away for longer", 300.0, 1000, 0.0},
        {"idle time unknown", std::nullopt, 1000, 1.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        guard.reset();
        idle.seconds = c.idleSeconds;
        clock.advanceMs(c.gapMs);
        EXPECT_FALSE(guard.tick());
        EXPECT_DOUBLE_EQ(guard.activeSeconds(), c.added);
    }
}

TEST_F(EyeStrainGuardTest, MinutesUntilBreak)
{
    EXPECT_EQ(guard.minutesUntilBreak(), 20);
    tickFor(1);
    EXPECT_EQ(guard.minutesUntilBreak(), 20);
    tickFor(60);
    EXPECT_EQ(guard.minutesUntilBreak(), 19);
    tickFor(1199 - 61);
    EXPECT_EQ(guard.minutesUntilBreak(), 1);
}

TEST_F(EyeStrainGuardTest, BreakFiresOnceAndStaysUntilReset)
{
    QSignalSpy warnings(&guard, &EyeStrainGuard::warningChanged);
    tickFor(1199);
    EXPECT_FALSE(guard.warning());
    clock.advanceMs(1000);
    EXPECT_TRUE(guard.tick());
    EXPECT_TRUE(guard.warning());
    EXPECT_EQ(guard.minutesUntilBreak(), 20);
    EXPECT_EQ(guard.activeSeconds(), 0.0);
    clock.advanceMs(1000);
    EXPECT_FALSE(guard.tick());
    EXPECT_TRUE(guard.warning());
    EXPECT_EQ(warnings.count(), 1);

    guard.setTooClose(true);
    tickFor(300);
    guard.reset();
    EXPECT_FALSE(guard.warning());
    EXPECT_FALSE(guard.tooClose());
    EXPECT_EQ(guard.activeSeconds(), 0.0);
    EXPECT_EQ(guard.minutesUntilBreak(), 20);
    // The count restarts from the reset, not from the last tick.
    clock.advanceMs(1000);
    guard.tick();
    EXPECT_DOUBLE_EQ(guard.activeSeconds(), 1.0);
}

} // namespace
