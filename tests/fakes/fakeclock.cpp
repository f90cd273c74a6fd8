#include "fakes/fakeclock.h"

TaskHandle FakeScheduler::after(int delayMs, std::function<void()> fn)
{
    return add(delayMs, 0, std::move(fn));
}

TaskHandle FakeScheduler::every(int intervalMs, std::function<void()> fn)
{
    return add(intervalMs, qMax(1, intervalMs), std::move(fn));
}

TaskHandle FakeScheduler::everyAtRate(int perSecond, std::function<void()> fn)
{
    auto state = std::make_shared<TaskHandle::State>();
    const int rate = qMax(1, perSecond);
    const qint64 tick = nextTick(0, m_clock.monotonicMs(), rate);
    const qint64 due = tickMs(tick, rate);
    m_queue.emplace(std::make_pair(due, m_seq++), Entry{due, 0, std::move(fn), state, rate, tick});
    return TaskHandle(state);
}

TaskHandle FakeScheduler::add(int delayMs, int interval, std::function<void()> fn)
{
    auto state = std::make_shared<TaskHandle::State>();
    const qint64 due = m_clock.monotonicMs() + qMax(0, delayMs);
    m_queue.emplace(std::make_pair(due, m_seq++), Entry{due, interval, std::move(fn), state});
    return TaskHandle(state);
}

void FakeScheduler::advance(qint64 ms)
{
    const qint64 target = m_clock.monotonicMs() + qMax<qint64>(0, ms);
    while (!m_queue.empty()) {
        auto it = m_queue.begin();
        if (it->first.first > target)
            break;
        Entry entry = std::move(it->second);
        m_queue.erase(it);
        auto state = entry.state.lock();
        if (!state || state->cancelled)
            continue;
        if (entry.due > m_clock.monotonicMs())
            m_clock.advanceMs(entry.due - m_clock.monotonicMs());
        if (entry.rate > 0) {
            const qint64 tick = nextTick(entry.tick, m_clock.monotonicMs(), entry.rate);
            const qint64 next = tickMs(tick, entry.rate);
            auto fn = entry.fn;
            m_queue.emplace(std::make_pair(next, m_seq++), Entry{next, 0, fn, state, entry.rate, tick});
            fn();
        } else if (entry.interval > 0) {
            const qint64 next = entry.due + entry.interval;
            auto fn = entry.fn;
            m_queue.emplace(std::make_pair(next, m_seq++), Entry{next, entry.interval, fn, state});
            fn();
        } else {
            state->finished = true;
            entry.fn();
        }
    }
    if (target > m_clock.monotonicMs())
        m_clock.advanceMs(target - m_clock.monotonicMs());
}

int FakeScheduler::pendingCount() const
{
    int n = 0;
    for (const auto &[key, entry] : m_queue) {
        auto state = entry.state.lock();
        if (state && !state->cancelled)
            ++n;
    }
    return n;
}
