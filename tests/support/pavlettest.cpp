#include "pavlettest.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

void PavletTest::SetUp()
{
    ASSERT_TRUE(tmp.isValid());
    defaults = std::make_unique<UserDefaults>(tmp.filePath("defaults.json"));
    UserDefaults::setStandard(defaults.get());
    scheduler = std::make_unique<FakeScheduler>(clock);
    Scheduler::setMain(scheduler.get());
}

void PavletTest::TearDown()
{
    Scheduler::setMain(nullptr);
    UserDefaults::setStandard(nullptr);
}

std::unique_ptr<UserDefaults> PavletTest::reopenDefaults() const
{
    return std::make_unique<UserDefaults>(tmp.filePath("defaults.json"));
}

bool waitUntil(const std::function<bool()> &pred, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}
