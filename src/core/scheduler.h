#pragma once

#include <QObject>
#include <algorithm>
#include <functional>
#include <memory>

class Scheduler;

// A cancellable delayed or repeating task. Assigning a new task to a handle,
// calling cancel() or destroying the handle guarantees the old task never
// runs again. Handles are move-only.
class TaskHandle {
public:
    struct State {
        bool cancelled = false;
        bool finished = false;
        std::function<void()> stop;
    };

    TaskHandle() = default;
    explicit TaskHandle(std::shared_ptr<State> state) : m_state(std::move(state)) {}
    TaskHandle(TaskHandle &&other) noexcept : m_state(std::move(other.m_state)) {}
    TaskHandle &operator=(TaskHandle &&other) noexcept
    {
        if (this != &other) {
            cancel();
            m_state = std::move(other.m_state);
        }
        return *this;
    }
    TaskHandle(const TaskHandle &) = delete;
    TaskHandle &operator=(const TaskHandle &) = delete;
    ~TaskHandle() { cancel(); }

    void cancel()
    {
        if (!m_state)
            return;
        auto state = std::move(m_state);
        if (!state->cancelled) {
            state->cancelled = true;
            if (state->stop)
                state->stop();
        }
    }
    // True while a task is waiting (or repeating) and has not been cancelled.
    bool isActive() const { return m_state && !m_state->cancelled && !m_state->finished; }

private:
    std::shared_ptr<State> m_state;
};

// Runs work later on the main thread. The real scheduler uses Qt timers; the
// tests' fake runs due tasks when the test advances its fake clock.
class Scheduler {
public:
    virtual ~Scheduler() = default;
    // Runs fn once, delayMs milliseconds from now.
    [[nodiscard]] virtual TaskHandle after(int delayMs, std::function<void()> fn) = 0;
    // Runs fn every intervalMs milliseconds until the handle is cancelled.
    [[nodiscard]] virtual TaskHandle every(int intervalMs, std::function<void()> fn) = 0;
    // Runs fn perSecond times a second until the handle is cancelled. Tick n
    // falls n/perSecond s after the monotonic clock's zero, rounded up to the
    // millisecond, so a rate whose period is not a whole number of
    // milliseconds (60 Hz) keeps its average and never drifts, and every
    // task at one rate (or a rate that divides it) ticks in the same
    // millisecond, making one frame of their changes. A tick missed
    // entirely is skipped, not made up.
    [[nodiscard]] virtual TaskHandle everyAtRate(int perSecond, std::function<void()> fn) = 0;

    // Milliseconds from the clock's zero to tick n at perSecond.
    static qint64 tickMs(qint64 n, int perSecond) { return (n * 1000 + perSecond - 1) / perSecond; }
    // The tick to wait for next at nowMs, the previous tick being `previous`.
    static qint64 nextTick(qint64 previous, qint64 nowMs, int perSecond)
    {
        return std::max(previous + 1, nowMs * perSecond / 1000 + 1);
    }
};

class QtScheduler final : public Scheduler {
public:
    TaskHandle after(int delayMs, std::function<void()> fn) override;
    TaskHandle every(int intervalMs, std::function<void()> fn) override;
    TaskHandle everyAtRate(int perSecond, std::function<void()> fn) override;

private:
    TaskHandle start(int ms, bool repeat, std::function<void()> fn);
};
