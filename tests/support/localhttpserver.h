#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QString>
#include <QSslConfiguration>
#include <QTcpServer>
#include <QUrl>
#include <functional>

// A small HTTP/1.1 server on 127.0.0.1 for tests: it answers each path with
// a canned reply (or asks a handler) and records every request that arrived.
// Bodies are read by Content-Length; each connection serves one request and
// is then closed.
class LocalHttpServer : public QObject {
    Q_OBJECT
public:
    struct Request {
        QByteArray method;
        // The raw request target ("/v1/forecast?latitude=1.5&…").
        QByteArray target;
        QString path;
        // The raw query text, in the order it was sent (no leading "?").
        QString query;
        // Header names are lower-cased.
        QMap<QByteArray, QByteArray> headers;
        QByteArray body;

        QByteArray header(const QByteArray &name) const { return headers.value(name.toLower()); }
    };

    struct Reply {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "application/json";
        QList<QPair<QByteArray, QByteArray>> headers;
        // Milliseconds to wait before answering; negative never answers
        // (the connection stays open until the server goes away).
        int delayMs = 0;
        // Leave out Content-Length: the body ends when the connection closes.
        bool omitLength = false;
        // Announce the whole body but close after this many bytes of it
        // (negative sends it all).
        qsizetype cutAfter = -1;
        // With cutAfter: keep the connection open after the part sent, as a
        // transfer still under way.
        bool holdOpen = false;
        // Send the body one byte every trickleMs milliseconds (0: at once).
        int trickleMs = 0;
    };

    explicit LocalHttpServer(QObject *parent = nullptr);
    ~LocalHttpServer() override;

    // Listens on an ephemeral port of 127.0.0.1.
    bool listen();
    // The same over TLS with the test certificate for 127.0.0.1 (see
    // testCertificate()); base addresses then start with "https".
    bool listenTls();
    // The self-signed certificate the TLS server presents; clients trust it
    // through trustTestCertificate().
    static QSslCertificate testCertificate();
    // Adds the test certificate to the process's default trust store.
    static void trustTestCertificate();
    // Stops listening: the address then refuses connections, as a server
    // gone away does.
    void close();
    quint16 port() const;
    // "http://127.0.0.1:<port>".
    QUrl baseUrl() const;
    QUrl url(const QString &pathAndQuery) const;

    // The reply for a path (the query is not part of the match).
    void setReply(const QString &path, const Reply &reply);
    static Reply json(const QByteArray &body, int status = 200);
    // Asked before the canned replies; return true after filling reply to
    // answer, false to fall through.
    void setHandler(std::function<bool(const Request &, Reply &)> handler);
    // What paths without a reply get: 404 unless changed.
    void setDefaultReply(const Reply &reply);

    QList<Request> requests() const { return m_requests; }
    int requestCount() const { return int(m_requests.size()); }
    Request lastRequest() const { return m_requests.isEmpty() ? Request() : m_requests.last(); }
    void clearRequests() { m_requests.clear(); }

signals:
    void requestReceived(const LocalHttpServer::Request &request);

private:
    void onReadyRead(QTcpSocket *socket);
    void respond(QTcpSocket *socket, const Reply &reply);

    void acceptPending();

    QTcpServer *m_server;
    bool m_tls = false;
    QMap<QString, Reply> m_replies;
    Reply m_default;
    std::function<bool(const Request &, Reply &)> m_handler;
    QList<Request> m_requests;
    QMap<QTcpSocket *, QByteArray> m_buffers;
};
