#include "app/displayguard.h"

#include <QByteArray>
#include <QCoreApplication>
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
#include <time.h>
#include <unistd.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>

namespace {

// What the crash handler reads: written before it is installed, or atomic.
char program[64];
char goneLine[256];
size_t goneLength = 0;
// The path of the X server's local socket, which it also listens on under
// the abstract name of the same text; empty for a display reached otherwise.
char serverPath[64];
size_t serverPathLength = 0;
std::atomic<xcb_connection_t *> qtConnection{nullptr};

QtMessageHandler previousHandler = nullptr;
bool displayRefused = false;

sockaddr_un serverAddress(bool abstract, socklen_t *length)
{
    sockaddr_un a;
    std::memset(&a, 0, sizeof a);
    a.sun_family = AF_UNIX;
    const size_t at = abstract ? 1 : 0;
    std::memcpy(a.sun_path + at, serverPath, serverPathLength);
    *length = socklen_t(offsetof(sockaddr_un, sun_path) + at + serverPathLength);
    return a;
}

// Whether the X server still takes connections on its local socket; true
// when that cannot be told. Only system calls and plain reads, here and
// below: they run in a signal handler.
bool serverListens()
{
    if (serverPathLength == 0)
        return true;
    for (bool abstract : {true, false}) {
        socklen_t length = 0;
        const sockaddr_un a = serverAddress(abstract, &length);
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return true;
        const int r = connect(fd, reinterpret_cast<const sockaddr *>(&a), length);
        const int error = errno;
        close(fd);
        // A full backlog still is a server.
        if (r == 0 || error == EAGAIN || error == EINPROGRESS)
            return true;
    }
    return false;
}

bool hungUp(int fd)
{
    pollfd p{fd, POLLRDHUP, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR));
}

// Whether the X server has hung up on a connection of this program: Qt's,
// once known, or any socket open to the server's local socket (Qt connects
// long before it hands its connection out).
bool connectionLost()
{
    xcb_connection_t *c = qtConnection.load();
    if (c && (xcb_connection_has_error(c) || hungUp(xcb_get_file_descriptor(c))))
        return true;
    if (serverPathLength == 0)
        return false;
    for (int fd = 0; fd < 1024; ++fd) {
        sockaddr_un peer{};
        socklen_t length = sizeof peer - 1;
        if (getpeername(fd, reinterpret_cast<sockaddr *>(&peer), &length) != 0 || peer.sun_family != AF_UNIX)
            continue;
        const char *name = peer.sun_path[0] == 0 ? peer.sun_path + 1 : peer.sun_path;
        if (std::strncmp(name, serverPath, serverPathLength) == 0 && name[serverPathLength] == 0 && hungUp(fd))
            return true;
    }
    return false;
}

// Whether the display has gone away. A server on its way out may still take
// new connections for a moment after it closed ours: a patient look gives it
// that moment.
bool displayGone(bool patient)
{
    if (connectionLost())
        return true;
    if (!serverListens())
        return true;
    for (int attempt = 0; patient && serverPathLength > 0 && attempt < 10; ++attempt) {
        const timespec pause{0, 30 * 1000 * 1000};
        nanosleep(&pause, nullptr);
        if (!serverListens())
            return true;
    }
    return false;
}

void leaveIfDisplayGone(bool patient)
{
    if (displayGone(patient)) {
        [[maybe_unused]] const ssize_t n = write(STDERR_FILENO, goneLine, goneLength);
        _exit(1);
    }
}

void onFault(int sig)
{
    const int saved = errno;
    leaveIfDisplayGone(true);
    // Anything else is a fault of its own: it ends as it would have, with
    // its core, once this handler returns.
    signal(sig, SIG_DFL);
    raise(sig);
    errno = saved;
}

// Qt's X code says so when its connection breaks, and then leaves through
// Xlib's own complaint or exit(): the program's line instead, from any
// thread.
bool leftOnBrokenConnection(const QString &message)
{
    if (!message.startsWith(QLatin1String("The X11 connection broke")))
        return false;
    std::fflush(nullptr);
    [[maybe_unused]] const ssize_t n = write(STDERR_FILENO, goneLine, goneLength);
    _exit(1);
}

// Xlib's handler for a broken connection, for every connection of the
// program (Qt's own, OpenGL's): it never returns.
int onXlibIoError(Display *)
{
    [[maybe_unused]] const ssize_t n = write(STDERR_FILENO, goneLine, goneLength);
    _exit(1);
}

void onLaterMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!leftOnBrokenConnection(message) && previousHandler)
        previousHandler(type, context, message);
}

void onStartMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    leftOnBrokenConnection(message);
    if (message.contains(QLatin1String("could not connect to display")))
        displayRefused = true;
    if (type != QtFatalMsg) {
        if (previousHandler)
            previousHandler(type, context, message);
        return;
    }
    // Qt's platform plugin also fails when the display goes while it sets up.
    if (displayRefused || displayGone(true))
        std::fputs(goneLine, stderr);
    else
        std::fprintf(stderr, "%s needs a graphical desktop session: %s\n", program,
                     qPrintable(message.section(QLatin1Char('\n'), 0, 0)));
    std::fflush(nullptr);
    std::_Exit(1);
}

// The local socket of a display named ":N", ":N.S" or "unix:N".
void findServerSocket(const QByteArray &display)
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
    std::memcpy(serverPath, path.constData(), size_t(path.size()));
    serverPathLength = size_t(path.size());
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
    findServerSocket(display);
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onFault;
    sigemptyset(&action.sa_mask);
    // A write to the server's closed socket raises SIGPIPE.
    for (int sig : {SIGSEGV, SIGBUS, SIGABRT, SIGILL, SIGFPE, SIGPIPE})
        sigaction(sig, &action, nullptr);
    previousHandler = qInstallMessageHandler(onStartMessage);
    // Xlib complains and exits on its own when a connection breaks while it
    // is being opened, before Qt has put its handler in place.
    XSetIOErrorHandler(onXlibIoError);
}

void connected()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    qInstallMessageHandler(x11 ? onLaterMessage : previousHandler);
    if (x11) {
        // In place of Qt's, which prints Xlib's complaint and leaves by exit().
        XSetIOErrorHandler(onXlibIoError);
        qtConnection.store(x11->connection());
        // Before Qt lets go of it.
        qAddPostRoutine([] { qtConnection.store(nullptr); });
    } else {
        // Not on X11 (Wayland, offscreen): no X server to lose.
        serverPathLength = 0;
    }
}

void leaveIfGone()
{
    std::fflush(nullptr);
    leaveIfDisplayGone(false);
}

} // namespace DisplayGuard
