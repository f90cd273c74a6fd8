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

    // True when this process is the one that runs. False when another
    // already does; it has then been asked to open the settings.
    bool claim(int timeoutMs = 1000);

signals:
    // A later launch asked for the settings.
    void openSettingsRequested();

private:
    QString m_name;
    QLocalServer *m_server = nullptr;
};
