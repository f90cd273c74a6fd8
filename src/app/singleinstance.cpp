#include "app/singleinstance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QByteArray openSettingsMessage = "open-settings\n";
}

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent), m_name(name)
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim(int timeoutMs)
{
    if (m_server)
        return true;
    {
        QLocalSocket socket;
        socket.connectToServer(m_name);
        if (socket.waitForConnected(timeoutMs)) {
            socket.write(openSettingsMessage);
            socket.waitForBytesWritten(timeoutMs);
            // Wait for the first to take it, so the message is not lost
            // when this process exits at once.
            socket.waitForReadyRead(timeoutMs);
            socket.disconnectFromServer();
            return false;
        }
    }
    // Nobody answers: a socket left by a crashed run is stale.
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // Still run: a second launch will just start twice.
        return true;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                while (peer->canReadLine()) {
                    if (peer->readLine() == openSettingsMessage) {
                        peer->write("ok\n");
                        peer->flush();
                        emit openSettingsRequested();
                    }
                }
            });
        }
    });
    return true;
}
