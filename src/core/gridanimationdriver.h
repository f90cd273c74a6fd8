#pragma once

#include "core/scheduler.h"

#include <QAnimationDriver>

#include <unordered_map>

class QWindow;

// Steps Qt's own animations (springs, fades) 60 times a second on the
// scheduler's shared 60 Hz grid, the ticks the games' frame timers use, so
// an animation running beside a game changes the picture in the game's
// frames instead of in frames of its own. Installed once, for the program.
class GridAnimationDriver : public QAnimationDriver {
    Q_OBJECT
public:
    static constexpr int PerSecond = 60;

    explicit GridAnimationDriver(Scheduler *scheduler, QObject *parent = nullptr);
    ~GridAnimationDriver() override;

    // Every window of the program then draws at most one frame in each
    // interval of the grid. Qt's render loop takes a change made while it
    // lays a frame out (a shape's path, a column's positions) for a request
    // of another frame, drawn a few milliseconds after the first: off the
    // grid, and so more frames a second than the display shows. Such a
    // request waits for the next tick instead, where it joins that tick's
    // frame.
    void paceFrames();

    // The grid interval a moment falls in: interval n runs from tick n
    // (Scheduler::tickMs) up to tick n + 1.
    static qint64 intervalAt(qint64 ms) { return ms * PerSecond / 1000; }

protected:
    void start() override;
    void stop() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Paced {
        qint64 drawnIn = -1;   // the interval of the last frame let through
        TaskHandle held;       // a request held for the next tick
    };

    Scheduler *m_scheduler;
    TaskHandle m_task;
    bool m_pacing = false;
    std::unordered_map<QWindow *, Paced> m_windows;
};
