#include "app/unixsignalquitter.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_fds[2] = {-1, -1};

void onSignal(int sig)
{
    const char byte = char(sig);
    [[maybe_unused]] const ssize_t n = ::write(g_fds[0], &byte, 1);
}
} // namespace

void UnixSignalQuitter::catchSignals()
{
    if (g_fds[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_fds) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

UnixSignalQuitter::UnixSignalQuitter(QObject *parent) : QObject(parent)
{
    catchSignals();
    if (g_fds[1] < 0)
        return;
    m_notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        if (::read(g_fds[1], &byte, 1) == 1)
            emit quitRequested(int(byte));
        m_requested = true;
        // exit(), not quit(): quit() first asks every window to close, and
        // the island's windows refuse a close.
        QCoreApplication::exit(0);
    });
}

void UnixSignalQuitter::quitIfRequested()
{
    if (m_requested)
        QCoreApplication::exit(0);
}

UnixSignalQuitter::~UnixSignalQuitter()
{
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
}
