#pragma once

#include <functional>

class QThreadPool;

// Runs a piece of work away from the calling thread (hashing a file, a call
// that may block while the system asks the user). The work reports back on
// its own, for instance with a queued call to the main thread.
class Executor {
public:
    virtual ~Executor() = default;
    virtual void run(std::function<void()> work) = 0;
};

// Runs work on a Qt thread pool; without one, on the process's shared pool.
class ThreadPoolExecutor : public Executor {
public:
    explicit ThreadPoolExecutor(QThreadPool *pool = nullptr);
    void run(std::function<void()> work) override;

    // One executor over the shared pool, for owners that are handed none.
    static ThreadPoolExecutor &shared();

private:
    QThreadPool *m_pool;
};
