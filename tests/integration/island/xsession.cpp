#include "xsession.h"

#include <QElapsedTimer>
#include <QTemporaryFile>
#include <QThread>
#include <cstdio>
#include <unistd.h>
#include <xcb/xcb.h>

XSession::XSession(int width, int height)
{
    int fds[2];
    if (pipe(fds) != 0)
        return;
    m_server = std::make_unique<QProcess>();
    m_server->setProgram(QStringLiteral("Xvfb"));
    m_server->setArguments({QStringLiteral("-displayfd"), QString::number(fds[1]), QStringLiteral("-noreset"),
                            QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-screen"),
                            QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height)});
    m_server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server->setStandardOutputFile(QProcess::nullDevice());
    m_server->start();
    ::close(fds[1]);
    if (!m_server->waitForStarted(5000)) {
        ::close(fds[0]);
        return;
    }
    char buf[32] = {};
    const ssize_t n = ::read(fds[0], buf, sizeof buf - 1);
    ::close(fds[0]);
    if (n <= 0)
        return;
    m_display = QStringLiteral(":") + QString::fromLatin1(buf).trimmed();
}

XSession::~XSession()
{
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) {
        (*it)->terminate();
        if (!(*it)->waitForFinished(3000))
            (*it)->kill();
        (*it)->waitForFinished(1000);
    }
    if (m_server) {
        m_server->terminate();
        if (!m_server->waitForFinished(3000))
            m_server->kill();
        m_server->waitForFinished(1000);
    }
}

QProcessEnvironment XSession::environment(const QString &base) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!base.isEmpty()) {
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), base + QStringLiteral("/config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), base + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), base + QStringLiteral("/cache"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), base + QStringLiteral("/runtime"));
        // The one-instance socket lives in the temporary folder: one per test.
        env.insert(QStringLiteral("TMPDIR"), base + QStringLiteral("/tmp"));
    }
    return env;
}

QProcess *XSession::start(const QString &program, const QStringList &args, const QProcessEnvironment &env)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(env);
    p->setProgram(program);
    p->setArguments(args);
    p->setStandardOutputFile(QProcess::nullDevice());
    p->start();
    if (!p->waitForStarted(5000))
        return nullptr;
    m_children.push_back(std::move(p));
    return m_children.back().get();
}

bool XSession::waitForWindowManager(int timeoutMs, const QString &before)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        const QString check =
            run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        if (check.contains(QStringLiteral("window id")) && check != before) {
            // The check window comes early in its start-up; windows mapped
            // before it has settled may be missed.
            QThread::msleep(400);
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

bool XSession::startWindowManager(const QString &program)
{
    const QStringList args = program == QLatin1String("xfwm4")
        ? QStringList{QStringLiteral("--compositor=off"), QStringLiteral("--sm-client-disable"), QStringLiteral("--replace")}
        : QStringList{QStringLiteral("--sm-disable"), QStringLiteral("--replace")};
    const QString before =
        run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    QProcess *wm = start(program, args, environment(QString()));
    return wm && waitForWindowManager(10000, before);
}

bool XSession::startCompositor(const QStringList &extra)
{
    QProcess *p = start(QStringLiteral("picom"), QStringList{QStringLiteral("--backend"), QStringLiteral("xrender")} + extra,
                        environment(QString()));
    if (!p)
        return false;
    // picom owns the _NET_WM_CM_S0 selection once it composites.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
        xcb_connection_t *c = xcb_connect(m_display.toLatin1().constData(), nullptr);
        bool owned = false;
        if (!xcb_connection_has_error(c)) {
            const char name[] = "_NET_WM_CM_S0";
            xcb_intern_atom_reply_t *a = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
            if (a) {
                xcb_get_selection_owner_reply_t *o =
                    xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, a->atom), nullptr);
                owned = o && o->owner != XCB_WINDOW_NONE;
                free(o);
                free(a);
            }
        }
        xcb_disconnect(c);
        if (owned)
            return true;
        if (p->state() != QProcess::Running)
            return false;
        QThread::msleep(50);
    }
    return false;
}

QString XSession::run(const QString &program, const QStringList &args, int *exitCode) const
{
    QProcess p;
    p.setProcessEnvironment(environment(QString()));
    p.start(program, args);
    p.waitForFinished(15000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

QImage XSession::screenshot() const
{
    QTemporaryFile file(QStringLiteral("/tmp/pavlet-shot-XXXXXX.png"));
    file.open();
    run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file.fileName()});
    return QImage(file.fileName());
}

void XSession::paintDesktop(quint32 rgb) const
{
    xcb_connection_t *c = xcb_connect(m_display.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const quint32 pixel = rgb;
    xcb_change_window_attributes(c, screen->root, XCB_CW_BACK_PIXEL, &pixel);
    xcb_clear_area(c, 0, screen->root, 0, 0, 0, 0);
    xcb_flush(c);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
}

quint64 XSession::findWindow(const QString &name, int timeoutMs) const
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        const QString out = run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--name"), name});
        bool ok = false;
        const quint64 id = out.split('\n', Qt::SkipEmptyParts).value(0).toULongLong(&ok);
        if (ok)
            return id;
        QThread::msleep(100);
    }
    return 0;
}
