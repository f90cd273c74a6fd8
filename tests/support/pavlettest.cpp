#include "support/pavlettest.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

void PavletTest::SetUp()
{
    ASSERT_TRUE(tmp.isValid());
    defaults = std::make_unique<UserDefaults>(tmp.filePath("defaults.json"));
    scheduler = std::make_unique<FakeScheduler>(clock);
}

void PavletTest::TearDown()
{
}

std::unique_ptr<UserDefaults> PavletTest::reopenDefaults() const
{
    defaults->flush();
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
