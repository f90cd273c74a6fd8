#pragma once

#include "core/clock.h"
#include "core/scheduler.h"

#include <map>
#include <memory>

// A clock that only moves when a test moves it.
class FakeClock final : public Clock {
public:
    // 2026-01-05 09:00:00 UTC, a Monday.
    static constexpr qint64 DefaultStart = 1767603600000;

    explicit FakeClock(qint64 startMs = DefaultStart) : m_now(startMs) {}
    qint64 nowMs() const override { return m_now; }
    qint64 monotonicMs() const override { return m_monotonic; }
    qint64 bootMs() const override { return m_monotonic + m_slept; }

    void setNow(const QDateTime &t) { m_now = t.toMSecsSinceEpoch(); }
    void setNowMs(qint64 ms) { m_now = ms; }
    void advanceMs(qint64 ms)
    {
        m_now += ms;
        m_monotonic += ms;
    }
    // The machine sleeps for ms: the wall clock and bootMs() move on, the
    // monotonic reading stands still (and nothing scheduled runs).
    void sleepMs(qint64 ms)
    {
        m_now += ms;
        m_slept += ms;
    }

private:
    qint64 m_now;
    qint64 m_monotonic = 1000000;
    qint64 m_slept = 0;
};

// Runs scheduled tasks when the test advances time; every task runs at its
// due time with the clock set to that moment.
class FakeScheduler final : public Scheduler {
public:
    explicit FakeScheduler(FakeClock &clock) : m_clock(clock) {}

    TaskHandle after(int delayMs, std::function<void()> fn) override;
    TaskHandle every(int intervalMs, std::function<void()> fn) override;
    TaskHandle everyAtRate(int perSecond, std::function<void()> fn) override;

    // Moves the clock forward by ms, running every task that falls due.
    void advance(qint64 ms);
    void advanceSeconds(double s) { advance(qint64(s * 1000.0 + 0.5)); }
    // Runs tasks due right now without moving the clock.
    void runDue() { advance(0); }
    // Tasks waiting (not cancelled).
    int pendingCount() const;

private:
    struct Entry {
        qint64 due;
        int interval; // 0 = once
        std::function<void()> fn;
        std::weak_ptr<TaskHandle::State> state;
        int rate = 0; // ticks a second, for a task at a rate
        qint64 tick = 0;
    };
    TaskHandle add(int delayMs, int interval, std::function<void()> fn);

    FakeClock &m_clock;
    std::multimap<std::pair<qint64, quint64>, Entry> m_queue;
    quint64 m_seq = 0;
};
