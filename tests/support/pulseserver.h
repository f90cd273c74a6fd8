#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A PulseAudio server of the test's own with one null sink, reachable only
// through its socket in a temporary folder. It runs as root too, and it is
// killed when this object goes away.
class PulseServer {
public:
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer &) = delete;
    PulseServer &operator=(const PulseServer &) = delete;

    static bool isInstalled();

    // Starts the server and waits until it answers. False on failure.
    bool start();
    // Ends the server as a user's session does: stop() asks it to end,
    // kill() ends it at once (a crash). start() starts it again at the same
    // address.
    void stop();
    void kill();
    bool isRunning() const { return m_server.state() != QProcess::NotRunning; }

    // The address for libpulse ("unix:/…/native").
    QString address() const;
    // Runs pactl against this server; returns its standard output, or a null
    // string when it failed.
    QString pactl(const QStringList &args) const;
    QString log() const { return m_log; }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    QString m_log;
};
