#include "core/scheduler.h"
#include "support/pavlettest.h"

#include <QElapsedTimer>

using SchedulerTest = PavletTest;

TEST_F(SchedulerTest, ReplacingOrCancellingAHandleStopsTheOldTask)
{
    int fired = 0;
    TaskHandle h = scheduler->after(100, [&] { fired += 1; });
    h = scheduler->after(100, [&] { fired += 10; }); // replaces the first
    scheduler->advance(100);
    EXPECT_EQ(fired, 10);
    EXPECT_FALSE(h.isActive());

    TaskHandle c = scheduler->after(50, [&] { fired += 100; });
    c.cancel();
    {
        TaskHandle scoped = scheduler->after(10, [&] { fired += 1000; });
    } // destroyed before it was due
    scheduler->advance(1000);
    EXPECT_EQ(fired, 10);
}

TEST_F(SchedulerTest, RepeatingTasksRunAtTheirDueTimesInOrder)
{
    QList<qint64> times;
    TaskHandle tick = scheduler->every(250, [&] { times << clock.monotonicMs(); });
    const qint64 start = clock.monotonicMs();
    TaskHandle once = scheduler->after(600, [&] { times << -(clock.monotonicMs() - start); });
    scheduler->advance(1000);
    ASSERT_EQ(times.size(), 5);
    EXPECT_EQ(times[0] - start, 250);
    EXPECT_EQ(times[1] - start, 500);
    EXPECT_EQ(times[2], -600);
    EXPECT_EQ(times[3] - start, 750);
    EXPECT_EQ(times[4] - start, 1000);
    tick.cancel();
    scheduler->advance(1000);
    EXPECT_EQ(times.size(), 5);
}

TEST_F(SchedulerTest, TaskCancelledFromInsideAnotherTaskNeverRuns)
{
    int fired = 0;
    TaskHandle second;
    TaskHandle first = scheduler->after(10, [&] { second.cancel(); });
    second = scheduler->after(10, [&] { ++fired; });
    scheduler->advance(20);
    EXPECT_EQ(fired, 0);
}

TEST(QtSchedulerTest, RealTimerFiresOnceAndCancelledOneDoesNot)
{
    QtScheduler real;
    int fired = 0, cancelledFired = 0;
    TaskHandle a = real.after(10, [&] { ++fired; });
    TaskHandle b = real.after(10, [&] { ++cancelledFired; });
    b.cancel();
    EXPECT_TRUE(waitUntil([&] { return fired == 1; }, 2000));
    QElapsedTimer t;
    t.start();
    waitUntil([] { return false; }, 50);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(cancelledFired, 0);
}
