#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// A private X server for one test, optionally with a window manager
// (openbox) and a compositor (picom). Everything it started is stopped when
// it goes away.
class XSession {
public:
    XSession(int width = 1512, int height = 982);
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    bool isRunning() const { return !m_display.isEmpty(); }
    QString display() const { return m_display; }
    // openbox or xfwm4; one already running is replaced.
    bool startWindowManager(const QString &program = QStringLiteral("openbox"));
    // extra: picom options, for instance its shadows and inactive opacity.
    bool startCompositor(const QStringList &extra = {});

    // The environment for a program on this display, with empty private
    // config, data and runtime folders under base.
    QProcessEnvironment environment(const QString &base) const;
    // Runs a command on this display and returns its standard output.
    QString run(const QString &program, const QStringList &args, int *exitCode = nullptr) const;
    // The root window as an image.
    QImage screenshot() const;
    // Paints the desktop (the root window's background) in one colour.
    void paintDesktop(quint32 rgb) const;
    // Starts a long-running program on this display; stopped with the session.
    QProcess *start(const QString &program, const QStringList &args, const QProcessEnvironment &env);
    // Ends the X server at once (SIGKILL) or by its own shutdown (SIGTERM).
    void endServer(bool atOnce) { atOnce ? m_server->kill() : m_server->terminate(); }
    // The first window whose name matches, or 0 after the time-out.
    quint64 findWindow(const QString &name, int timeoutMs = 10000) const;

private:
    // Until a window manager other than the one whose check was before runs.
    bool waitForWindowManager(int timeoutMs, const QString &before);

    std::unique_ptr<QProcess> m_server;
    std::vector<std::unique_ptr<QProcess>> m_children;
    QString m_display;
};
