#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running program per user. The first launch listens on a local socket;
// a later launch finds it there, asks it to open the settings, and learns
// that it should exit.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // name: the socket's name, one per user ("pavlet-<uid>").
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);
    ~SingleInstance() override;

    enum class Claim {
        thisRuns,      // this process is the one that runs
        otherAnswered, // another already runs and took the request for its settings
        otherSilent,   // another holds the socket but did not answer in time (stopped, hung)
    };
    // Whether this process is the one that runs; when another already does,
    // asks it to open the settings and waits up to answerMs for its answer.
    Claim claim(int answerMs = 3000);

signals:
    // A later launch asked for the settings.
    void openSettingsRequested();

private:
    QString m_name;
    QLocalServer *m_server = nullptr;
};
