#pragma once

#include <QString>
#include <QStringList>
#include <mutex>
#include <sys/types.h>

namespace platform {

// One run of the sound helper program (pavlet-sound), with a connection to
// its standard input or output. Its calls block: it is used on a worker
// thread only, never on the main thread. A run that is let go unfinished
// is killed.
class SoundHelperRun {
public:
    enum class Direction { ToHelper, FromHelper };

    SoundHelperRun() = default;
    ~SoundHelperRun();
    SoundHelperRun(const SoundHelperRun &) = delete;
    SoundHelperRun &operator=(const SoundHelperRun &) = delete;

    // The helper the program was built with.
    static QString builtHelper();

    // Starts program with args; false when it cannot be started.
    bool start(const QString &program, const QStringList &args, Direction direction);
    bool isRunning() const { return m_pid > 0; }
    // Hands the helper bytes; false when it is gone.
    bool write(const void *data, qint64 bytes);
    // Reads bytes from the helper, fewer only at its end: the count read,
    // -1 when the connection broke.
    qint64 read(void *data, qint64 bytes);
    // Ends the connection and waits for the helper: true when it exited
    // well.
    bool finish();
    // Ends the helper at once.
    void kill();
    // Ends the helper at once from any thread, so that a call blocked on a
    // helper that stopped answering returns; the run is still ended where
    // it is used.
    void interrupt();

private:
    bool reap();

    std::mutex m_reaping; // over m_pid, so that interrupt() never meets a reused id
    pid_t m_pid = -1;
    int m_fd = -1;
};

} // namespace platform
