#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a clean quit of the event loop: the handler
// only writes a byte to a pipe, the loop reads it and quits.
class UnixSignalQuitter : public QObject {
    Q_OBJECT
public:
    explicit UnixSignalQuitter(QObject *parent = nullptr);
    ~UnixSignalQuitter() override;

signals:
    void quitRequested(int signal);

private:
    QSocketNotifier *m_notifier = nullptr;
};
