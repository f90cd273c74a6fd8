#pragma once

#include "core/scheduler.h"

#include <QAnimationDriver>

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

protected:
    void start() override;
    void stop() override;

private:
    Scheduler *m_scheduler;
    TaskHandle m_task;
};
