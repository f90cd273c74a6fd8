#include "app/displayguard.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QString>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

// What the crash handler reads: written before it is installed, or atomic.
char program[64];
char goneLine[256];
size_t goneLength = 0;
// The X server's local sockets (abstract and in the file system), empty for
// a display reached otherwise.
sockaddr_un serverAddress[2];
socklen_t serverAddressLength[2] = {0, 0};
std::atomic<xcb_connection_t *> qtConnection{nullptr};

QtMessageHandler previousHandler = nullptr;
bool displayRefused = false;

// Whether the X server still takes connections on its local socket; true
// when that cannot be told. Only system calls: it runs in a signal handler.
bool serverListens()
{
    bool known = false;
    for (int i = 0; i < 2; ++i) {
        if (serverAddressLength[i] == 0)
            continue;
        known = true;
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return true;
        const int r = connect(fd, reinterpret_cast<const sockaddr *>(&serverAddress[i]), serverAddressLength[i]);
        const int error = errno;
        close(fd);
        // A full backlog still is a server.
        if (r == 0 || error == EAGAIN || error == EINPROGRESS)
            return true;
    }
    return !known;
}

// Whether Qt's connection to the X server has broken: xcb has seen it, or
// the server hung up on the socket.
bool connectionBroken()
{
    xcb_connection_t *c = qtConnection.load();
    if (!c)
        return false;
    if (xcb_connection_has_error(c))
        return true;
    pollfd p{xcb_get_file_descriptor(c), POLLRDHUP, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR));
}

void onFault(int sig)
{
    const int saved = errno;
    if (connectionBroken() || !serverListens()) {
        [[maybe_unused]] const ssize_t n = write(STDERR_FILENO, goneLine, goneLength);
        _exit(1);
    }
    // Anything else is a fault of its own: it ends as it would have, with
    // its core, once this handler returns.
    signal(sig, SIG_DFL);
    raise(sig);
    errno = saved;
}

void onStartMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("could not connect to display")))
        displayRefused = true;
    if (type != QtFatalMsg) {
        if (previousHandler)
            previousHandler(type, context, message);
        return;
    }
    // Qt's platform plugin also fails when the display goes while it sets up.
    if (displayRefused || !serverListens())
        std::fputs(goneLine, stderr);
    else
        std::fprintf(stderr, "%s needs a graphical desktop session: %s\n", program,
                     qPrintable(message.section(QLatin1Char('\n'), 0, 0)));
    std::fflush(nullptr);
    std::_Exit(1);
}

// The local sockets of a display named ":N", ":N.S" or "unix:N".
void findServerSockets(const QByteArray &display)
{
    QByteArray number = display;
    if (number.startsWith("unix:"))
        number = number.mid(4);
    if (!number.startsWith(':'))
        return;
    number = number.mid(1).split('.').value(0);
    bool ok = false;
    number.toUInt(&ok);
    if (!ok)
        return;
    const QByteArray path = "/tmp/.X11-unix/X" + number;
    for (int i = 0; i < 2; ++i) {
        sockaddr_un &a = serverAddress[i];
        std::memset(&a, 0, sizeof a);
        a.sun_family = AF_UNIX;
        // The abstract name starts with a zero byte.
        const int at = i == 0 ? 1 : 0;
        std::memcpy(a.sun_path + at, path.constData(), size_t(path.size()));
        serverAddressLength[i] = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(at + path.size() + (1 - at)));
    }
}

} // namespace

namespace DisplayGuard {

void watch(const char *name)
{
    std::snprintf(program, sizeof program, "%s", name);
    const QByteArray display = qgetenv("DISPLAY");
    const int n = std::snprintf(goneLine, sizeof goneLine,
                                "%s needs a graphical desktop session: the X server at %s went away\n", program,
                                display.constData());
    goneLength = std::min(size_t(std::max(n, 0)), sizeof goneLine - 1);
    findServerSockets(display);
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onFault;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGSEGV, SIGBUS, SIGABRT, SIGILL, SIGFPE})
        sigaction(sig, &action, nullptr);
    previousHandler = qInstallMessageHandler(onStartMessage);
}

void connected()
{
    qInstallMessageHandler(previousHandler);
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11) {
        qtConnection.store(x11->connection());
    } else {
        // Not on X11 (Wayland, offscreen): no X server to lose.
        serverAddressLength[0] = serverAddressLength[1] = 0;
    }
}

} // namespace DisplayGuard
