#include "app/singleinstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QDeadlineTimer>

#include <algorithm>

namespace {
const QByteArray openSettingsMessage = "open-settings\n";
const QByteArray answeredMessage = "ok\n";
}

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent), m_name(name)
{
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Claim SingleInstance::claim(int answerMs)
{
    if (m_server)
        return Claim::thisRuns;
    {
        QLocalSocket socket;
        const QDeadlineTimer deadline(answerMs);
        socket.connectToServer(m_name);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.write(openSettingsMessage);
            // The first takes the request once it answers, so the request is
            // not lost when this process exits at once. A first that is
            // stopped or hung takes the connection (the system does) but
            // never answers.
            QByteArray answer;
            while (!answer.contains('\n') && !deadline.hasExpired() && socket.state() == QLocalSocket::ConnectedState) {
                const int left = int(std::max<qint64>(1, deadline.remainingTime()));
                if (socket.bytesToWrite() > 0)
                    socket.waitForBytesWritten(left);
                else if (socket.waitForReadyRead(left))
                    answer += socket.readAll();
            }
            answer += socket.readAll();
            socket.abort();
            return answer.startsWith(answeredMessage) ? Claim::otherAnswered : Claim::otherSilent;
        }
        // A listener that lets no connection in before the time is up (its
        // queue full) is there all the same.
        if (socket.error() == QLocalSocket::SocketTimeoutError || socket.state() == QLocalSocket::ConnectingState)
            return Claim::otherSilent;
    }
    // Nobody answers: a socket left by a crashed run is stale.
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // Still run: a second launch will just start twice.
        return Claim::thisRuns;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                while (peer->canReadLine()) {
                    if (peer->readLine() == openSettingsMessage) {
                        peer->write(answeredMessage);
                        peer->flush();
                        emit openSettingsRequested();
                    }
                }
            });
        }
    });
    return Claim::thisRuns;
}
