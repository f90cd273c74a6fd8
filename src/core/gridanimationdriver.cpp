#include "core/gridanimationdriver.h"

GridAnimationDriver::GridAnimationDriver(Scheduler *scheduler, QObject *parent)
    : QAnimationDriver(parent)
    , m_scheduler(scheduler)
{
}

GridAnimationDriver::~GridAnimationDriver()
{
    m_task.cancel();
    if (isRunning())
        uninstall();
}

void GridAnimationDriver::start()
{
    QAnimationDriver::start();
    m_task = m_scheduler->everyAtRate(PerSecond, [this] { advance(); });
}

void GridAnimationDriver::stop()
{
    m_task.cancel();
    QAnimationDriver::stop();
}
