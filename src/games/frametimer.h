#pragma once

#include "core/scheduler.h"

#include <functional>
#include <optional>

class Clock;

// Drives a real-time game: a repeating timer on the scheduler that an engine
// owns as a member. Starting again drops the earlier timer; destroying the
// engine (and so this member) cancels it, so a timer never outlives or keeps
// alive its engine.
//
// Engines that step by the time since their previous frame use
// startStepping(): each firing measures dt on the clock since the last tick,
// caps it at the engine's bound, skips a frame whose step is not positive and
// hands dt (in seconds) to the engine.
class FrameTimer {
public:
    static constexpr int Rate60 = 60; // ticks a second
    static constexpr int Rate30 = 30;

    // Null arguments mean the process-wide scheduler and clock.
    explicit FrameTimer(Scheduler *scheduler, Clock *clock);

    // Fires `fire` every intervalMs until stop(). Any running timer is dropped
    // first. lastTick is left as it is.
    void start(int intervalMs, std::function<void()> fire);
    // Fires `fire` perSecond times a second, on ticks counted from now (see
    // Scheduler::everyAtRate), until stop(). As start() otherwise.
    void startAtRate(int perSecond, std::function<void()> fire);

    // Sets lastTick to now and calls step(dt) on every firing at perSecond
    // with dt = min(now - lastTick, cap) > 0.
    void startStepping(int perSecond, double cap, std::function<void(double dt)> step);

    // Ends the timer. lastTick stays unless the engine clears it.
    void stop();
    void clearLastTick() { m_lastTick.reset(); }

    bool isRunning() const { return m_task.isActive(); }
    std::optional<double> lastTick() const { return m_lastTick; }
    void setLastTick(double seconds) { m_lastTick = seconds; }

    // Monotonic seconds on the timer's clock.
    double now() const;
    // The step of one frame: seconds since lastTick (0 when there is none),
    // capped at cap; lastTick becomes now.
    double takeStep(double cap);

    Clock *clock() const { return m_clock; }
    Scheduler *scheduler() const { return m_scheduler; }

private:
    Scheduler *m_scheduler;
    Clock *m_clock;
    TaskHandle m_task;
    std::optional<double> m_lastTick;
};
