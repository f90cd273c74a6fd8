#include "platform/webfetcher.h"
#include "core/nocookies.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringList>

#include <cstdio>

// Fetches one document for the island and prints what came back, so that
// the island itself never loads the TLS library for its own checks.
// usage: pavlet-fetch URL [HEADER VALUE]...
// prints: "ERROR STATUS\n" (the QNetworkReply error number, the HTTP status
// or "-" when none came), then the body. Exits 2 on wrong arguments.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QUrl url(args.value(0));
    if (!url.isValid() || args.size() % 2 != 1) {
        std::fputs("usage: pavlet-fetch URL [HEADER VALUE]...\n", stderr);
        return 2;
    }
    QNetworkRequest request(url);
    for (int i = 1; i + 1 < args.size(); i += 2)
        request.setRawHeader(args[i].toUtf8(), args[i + 1].toUtf8());
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    // The island stops a fetch it no longer waits for; this ends one that
    // outlived an island that could not.
    request.setTransferTimeout(60000);
    QNetworkAccessManager network;
    refuseCookies(network);
    QNetworkReply *reply = network.get(request);
    bool tooLong = false;
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [&](qint64 received, qint64) {
        if (received > platform::IWebFetcher::MaxBody && !tooLong) {
            tooLong = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &app, &QCoreApplication::quit);
    app.exec();

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QNetworkReply::NetworkError error = tooLong ? QNetworkReply::UnknownContentError : reply->error();
    const QByteArray head = QByteArray::number(int(error)) + ' '
        + (status.isValid() ? QByteArray::number(status.toInt()) : QByteArray("-")) + '\n';
    std::fwrite(head.constData(), 1, size_t(head.size()), stdout);
    if (!tooLong) {
        const QByteArray body = reply->readAll();
        std::fwrite(body.constData(), 1, size_t(body.size()), stdout);
    }
    std::fflush(stdout);
    return 0;
}
