#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a clean quit of the event loop: the handler
// only writes a byte to a pipe, the loop reads it and quits.
class UnixSignalQuitter : public QObject {
    Q_OBJECT
public:
    // Catches the two signals from now on, before any Qt object exists; a
    // signal caught before the quitter is made waits in the pipe for it.
    static void catchSignals();

    explicit UnixSignalQuitter(QObject *parent = nullptr);
    ~UnixSignalQuitter() override;

    // Quits the event loop if a signal came while it did not run yet (a
    // quit asked for before the loop runs is lost otherwise). Queue it just
    // before the loop starts.
    void quitIfRequested();

signals:
    void quitRequested(int signal);

private:
    QSocketNotifier *m_notifier = nullptr;
    bool m_requested = false;
};
