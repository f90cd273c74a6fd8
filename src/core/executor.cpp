#include "core/executor.h"

#include <QThreadPool>

ThreadPoolExecutor::ThreadPoolExecutor(QThreadPool *pool)
    : m_pool(pool)
{
}

void ThreadPoolExecutor::run(std::function<void()> work)
{
    QThreadPool *pool = m_pool ? m_pool : QThreadPool::globalInstance();
    pool->start(std::move(work));
}

ThreadPoolExecutor &ThreadPoolExecutor::shared()
{
    static ThreadPoolExecutor executor;
    return executor;
}
