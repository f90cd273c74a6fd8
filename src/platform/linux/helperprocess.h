#pragma once

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace platform {

// A helper started through process ends with this program, however this
// program ends (a quit, a crash, the display going away): the system kills
// it as this program goes, so that no helper lingers or speaks after the
// program's last line. One whose parent is already gone by the time it
// starts does not start.
inline void endWithThisProgram(QProcess *process)
{
    const pid_t parent = getpid();
    process->setChildProcessModifier([parent] {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
    });
}

} // namespace platform
