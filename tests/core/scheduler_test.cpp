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

TEST_F(SchedulerTest, TasksAtARateKeepTheirAverageAndSkipWhatTheyMissed)
{
    const struct {
        int perSecond;
        qint64 spanMs;
        int ticks;
    } rows[] = {{60, 1000, 60}, {60, 10000, 600}, {30, 10000, 300}, {7, 1000, 7}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.perSecond);
        QList<qint64> times;
        const qint64 start = clock.monotonicMs();
        TaskHandle h = scheduler->everyAtRate(row.perSecond, [&] { times << clock.monotonicMs() - start; });
        scheduler->advance(row.spanMs);
        EXPECT_EQ(times.size(), row.ticks);
        // Never early: tick n at or after n / rate seconds, and within a millisecond of it.
        for (int n = 1; n <= times.size(); ++n) {
            EXPECT_GE(times[n - 1] * row.perSecond, qint64(n) * 1000);
            EXPECT_LT((times[n - 1] - 1) * row.perSecond, qint64(n) * 1000);
        }
    }

    // A machine that slept runs once on waking, then goes on on the grid.
    QList<qint64> times;
    const qint64 start = clock.monotonicMs();
    TaskHandle h = scheduler->everyAtRate(60, [&] { times << clock.monotonicMs() - start; });
    clock.advanceMs(5000);
    scheduler->advance(40);
    EXPECT_EQ(times, QList<qint64>({5000, 5017, 5034}));

    // Cancelled from its own work, it never runs again.
    int fired = 0;
    TaskHandle self;
    self = scheduler->everyAtRate(60, [&] { ++fired; self.cancel(); });
    scheduler->advance(1000);
    EXPECT_EQ(fired, 1);
}

TEST(QtSchedulerTest, RealTaskAtSixtyASecondDoesNotRunFast)
{
    QtScheduler real;
    int fired = 0;
    QElapsedTimer t;
    t.start();
    TaskHandle h = real.everyAtRate(60, [&] { ++fired; });
    waitUntil([] { return false; }, 1000);
    const qint64 spent = t.elapsed();
    h.cancel();
    // 60 ticks in a second at most; a busy machine may skip some.
    EXPECT_LE(fired, spent * 60 / 1000 + 1);
    EXPECT_GE(fired, 40);
    const int before = fired;
    waitUntil([] { return false; }, 60);
    EXPECT_EQ(fired, before);
}
