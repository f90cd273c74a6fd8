#include "platform/linux/xtestmediakeys.h"
#include "support/pavlettest.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <X11/Xlib.h>

namespace {

// An X server of the test's own, so that no other test's grabs take the keys.
class PrivateXServer {
public:
    PrivateXServer()
    {
        m_server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                                QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                                QStringLiteral("-screen"), QStringLiteral("0"),
                                                QStringLiteral("640x480x24")});
        QDeadlineTimer deadline(10000);
        while (!m_server.canReadLine() && !deadline.hasExpired() && m_server.state() != QProcess::NotRunning)
            m_server.waitForReadyRead(100);
        const QByteArray number = m_server.readLine().trimmed();
        if (!number.isEmpty())
            m_display = QStringLiteral(":") + QString::fromLatin1(number);
    }
    ~PrivateXServer()
    {
        m_server.terminate();
        if (!m_server.waitForFinished(3000)) {
            m_server.kill();
            m_server.waitForFinished(1000);
        }
    }
    QString display() const { return m_display; }

private:
    QProcess m_server;
    QString m_display;
};

} // namespace

TEST(XTestMediaKeys, PlayNextAndPreviousReachTheXServer)
{
    PrivateXServer server;
    ASSERT_FALSE(server.display().isEmpty()) << "Xvfb is installed";
    qputenv("DISPLAY", server.display().toLatin1());
    Display *display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const Window root = DefaultRootWindow(display);
    platform::XTestMediaKeys keys;
    for (int type : {16, 17, 18}) {
        const KeyCode code = XKeysymToKeycode(display, platform::XTestMediaKeys::keysymFor(type));
        ASSERT_NE(code, 0) << type;
        // Catch the key on the root window, as a desktop's media handler does.
        XGrabKey(display, code, AnyModifier, root, True, GrabModeAsync, GrabModeAsync);
        XSync(display, False);
        EXPECT_TRUE(keys.sendMediaKey(type, true));
        EXPECT_TRUE(keys.sendMediaKey(type, false));
        QList<int> seen;
        QDeadlineTimer deadline(3000);
        while (seen.size() < 2 && !deadline.hasExpired()) {
            while (XPending(display)) {
                XEvent event;
                XNextEvent(display, &event);
                if ((event.type == KeyPress || event.type == KeyRelease) && event.xkey.keycode == code)
                    seen << event.type;
            }
            QThread::msleep(10);
        }
        EXPECT_EQ(seen, (QList<int>{KeyPress, KeyRelease})) << type;
        XUngrabKey(display, code, AnyModifier, root);
        XSync(display, False);
    }
    EXPECT_FALSE(keys.sendMediaKey(0, true)) << "only play, next and previous";
    XCloseDisplay(display);
}
