#include "app/rendererprobe.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

RendererProbe::RendererProbe(const QString &program)
{
    if (program.isEmpty())
        return;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    // Its own complaints (a missing runtime folder, driver chatter) are not
    // the island's.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const QByteArray path = QFile::encodeName(program);
    char *argv[] = {const_cast<char *>(path.constData()), nullptr};
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, path.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (failed != 0) {
        close(fds[0]);
        return;
    }
    m_pid = pid;
    m_out = fds[0];
}

RendererProbe::~RendererProbe()
{
    stop();
}

void RendererProbe::stop()
{
    if (m_out >= 0)
        close(m_out);
    m_out = -1;
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    m_pid = -1;
}

std::optional<QString> RendererProbe::answer(int timeoutMs)
{
    if (m_pid <= 0)
        return std::nullopt;
    QByteArray out;
    const QDeadlineTimer deadline(timeoutMs);
    bool ended = false;
    while (!ended) {
        const qint64 left = deadline.remainingTime();
        if (left == 0)
            break;
        pollfd p{m_out, POLLIN, 0};
        const int ready = poll(&p, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buffer[512];
        const ssize_t n = read(m_out, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ended = true;
        else if (out.size() < 4096)
            out.append(buffer, n);
    }
    if (!ended) {
        stop();
        return std::nullopt;
    }
    // Its output has ended; it may still linger, but not past the deadline.
    int status = 0;
    pid_t reaped = 0;
    while ((reaped = waitpid(m_pid, &status, WNOHANG)) == 0 || (reaped < 0 && errno == EINTR)) {
        if (deadline.hasExpired()) {
            stop();
            return std::nullopt;
        }
        usleep(2000);
    }
    m_pid = -1;
    close(m_out);
    m_out = -1;
    if (reaped < 0 || !WIFEXITED(status))
        return std::nullopt;
    if (WEXITSTATUS(status) != 0)
        return QString();
    return QString::fromLatin1(out).trimmed();
}

QString RendererProbe::besideThisProgram()
{
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    const QString exe = self.symLinkTarget();
    if (exe.isEmpty())
        return QString();
    const QFileInfo probe(QFileInfo(exe).absolutePath() + QStringLiteral("/pavlet-gl-probe"));
    return probe.isExecutable() ? probe.filePath() : QString();
}
