#include "platform/linux/soundhelperrun.h"
#include "platform/linux/besideprogram.h"

#include <QFile>
#include <QList>

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace platform {

QString SoundHelperRun::builtHelper()
{
    return builtOrBesideProgram(QStringLiteral(PAVLET_SOUND_HELPER));
}

SoundHelperRun::~SoundHelperRun()
{
    kill();
}

bool SoundHelperRun::start(const QString &program, const QStringList &args, Direction direction)
{
    kill();
    // A socket rather than a pipe: a helper that went away makes a write
    // fail instead of raising SIGPIPE in the island.
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) < 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], direction == Direction::ToHelper ? STDIN_FILENO : STDOUT_FILENO);
    QList<QByteArray> words{QFile::encodeName(program)};
    for (const QString &arg : args)
        words << QFile::encodeName(arg);
    QList<char *> argv;
    for (QByteArray &word : words)
        argv << word.data();
    argv << nullptr;
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv.first(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    if (failed != 0) {
        ::close(ends[0]);
        return false;
    }
    {
        const std::lock_guard lock(m_reaping);
        m_pid = pid;
    }
    m_fd = ends[0];
    return true;
}

bool SoundHelperRun::write(const void *data, qint64 bytes)
{
    const auto *p = static_cast<const char *>(data);
    while (m_fd >= 0 && bytes > 0) {
        const ssize_t n = ::send(m_fd, p, size_t(bytes), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        bytes -= n;
    }
    return m_fd >= 0;
}

qint64 SoundHelperRun::read(void *data, qint64 bytes)
{
    if (m_fd < 0)
        return -1;
    auto *p = static_cast<char *>(data);
    qint64 got = 0;
    while (got < bytes) {
        const ssize_t n = ::read(m_fd, p + got, size_t(bytes - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

bool SoundHelperRun::finish()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    return reap();
}

void SoundHelperRun::kill()
{
    if (m_pid > 0)
        ::kill(m_pid, SIGKILL);
    finish();
}

void SoundHelperRun::interrupt()
{
    const std::lock_guard lock(m_reaping);
    if (m_pid > 0)
        ::kill(m_pid, SIGKILL);
}

bool SoundHelperRun::reap()
{
    if (m_pid <= 0)
        return false;
    // Waits for its end without collecting it: its id stays its own, and
    // interrupt() is safe, until the collection below.
    siginfo_t info{};
    while (waitid(P_PID, id_t(m_pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
    }
    const std::lock_guard lock(m_reaping);
    int status = 0;
    pid_t done;
    do
        done = waitpid(m_pid, &status, 0);
    while (done < 0 && errno == EINTR);
    m_pid = -1;
    return done > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace platform
