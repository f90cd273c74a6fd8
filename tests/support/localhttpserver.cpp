#include "support/localhttpserver.h"

#include <QFile>
#include <QHostAddress>
#include <QPointer>
#include <QSslKey>
#include <QSslServer>
#include <QTcpSocket>
#include <QTimer>

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 429: return "Too Many Requests";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

} // namespace

LocalHttpServer::LocalHttpServer(QObject *parent)
    : QObject(parent), m_server(new QTcpServer(this))
{
    m_default.status = 404;
    m_default.body = "not found";
    m_default.contentType = "text/plain";
    connect(m_server, &QTcpServer::newConnection, this, &LocalHttpServer::acceptPending);
}

LocalHttpServer::~LocalHttpServer()
{
    m_server->close();
}

void LocalHttpServer::close()
{
    m_server->close();
}

void LocalHttpServer::acceptPending()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        m_buffers.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
        // Bytes that arrived with the handshake are already waiting.
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

bool LocalHttpServer::listen()
{
    return m_server->listen(QHostAddress::LocalHost, 0);
}

QSslCertificate LocalHttpServer::testCertificate()
{
    return QSslCertificate::fromPath(QStringLiteral(PAVLET_TEST_DATA "/tls/localhost.crt")).value(0);
}

void LocalHttpServer::trustTestCertificate()
{
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    if (!config.caCertificates().contains(testCertificate())) {
        config.addCaCertificate(testCertificate());
        QSslConfiguration::setDefaultConfiguration(config);
    }
}

bool LocalHttpServer::listenTls()
{
    QFile keyFile(QStringLiteral(PAVLET_TEST_DATA "/tls/localhost.key"));
    if (!keyFile.open(QIODevice::ReadOnly))
        return false;
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setLocalCertificate(testCertificate());
    config.setPrivateKey(QSslKey(keyFile.readAll(), QSsl::Rsa));
    config.setPeerVerifyMode(QSslSocket::VerifyNone);

    auto *server = new QSslServer(this);
    server->setSslConfiguration(config);
    // An encrypted connection is handed over once its handshake is done.
    connect(server, &QTcpServer::pendingConnectionAvailable, this, &LocalHttpServer::acceptPending);
    delete m_server;
    m_server = server;
    m_tls = true;
    return m_server->listen(QHostAddress::LocalHost, 0);
}

quint16 LocalHttpServer::port() const
{
    return m_server->serverPort();
}

QUrl LocalHttpServer::baseUrl() const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2").arg(m_tls ? "https" : "http").arg(port()));
}

QUrl LocalHttpServer::url(const QString &pathAndQuery) const
{
    return QUrl(baseUrl().toString() + pathAndQuery);
}

void LocalHttpServer::setReply(const QString &path, const Reply &reply)
{
    m_replies.insert(path, reply);
}

LocalHttpServer::Reply LocalHttpServer::json(const QByteArray &body, int status)
{
    Reply reply;
    reply.status = status;
    reply.body = body;
    return reply;
}

void LocalHttpServer::setHandler(std::function<bool(const Request &, Reply &)> handler)
{
    m_handler = std::move(handler);
}

void LocalHttpServer::setDefaultReply(const Reply &reply)
{
    m_default = reply;
}

void LocalHttpServer::onReadyRead(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;

    Request request;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.target = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    if (buffer.size() < headerEnd + 4 + length)
        return; // the body is still coming
    request.body = buffer.mid(headerEnd + 4, length);
    buffer.clear();

    const qsizetype q = request.target.indexOf('?');
    request.path = QString::fromUtf8(q < 0 ? request.target : request.target.left(q));
    request.query = q < 0 ? QString() : QString::fromUtf8(request.target.mid(q + 1));
    m_requests.append(request);
    emit requestReceived(request);

    Reply reply = m_replies.value(request.path, m_default);
    if (m_handler) {
        Reply handled;
        if (m_handler(request, handled))
            reply = handled;
    }
    if (reply.delayMs < 0)
        return;
    if (reply.delayMs == 0) {
        respond(socket, reply);
        return;
    }
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(reply.delayMs, this, [this, guard, reply] {
        if (guard)
            respond(guard, reply);
    });
}

void LocalHttpServer::respond(QTcpSocket *socket, const Reply &reply)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
    out += "Content-Type: " + reply.contentType + "\r\n";
    if (!reply.omitLength)
        out += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    out += "Connection: close\r\n";
    for (const auto &[name, value] : reply.headers)
        out += name + ": " + value + "\r\n";
    out += "\r\n";
    if (reply.trickleMs > 0) {
        socket->write(out);
        auto *drip = new QTimer(socket);
        connect(drip, &QTimer::timeout, socket, [socket, body = reply.body, sent = qsizetype(0)]() mutable {
            sent < body.size() ? void(socket->write(body.mid(sent++, 1))) : socket->disconnectFromHost();
        });
        drip->start(reply.trickleMs);
        return;
    }
    out += reply.cutAfter < 0 ? reply.body : reply.body.left(reply.cutAfter);
    socket->write(out);
    if (reply.cutAfter >= 0 && reply.holdOpen)
        return;
    socket->disconnectFromHost();
}
