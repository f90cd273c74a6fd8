#pragma once

#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>

// A cookie jar that keeps nothing and offers nothing: no request of the
// program carries a cookie a server set on an earlier one.
class NoCookieJar final : public QNetworkCookieJar
{
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    QList<QNetworkCookie> cookiesForUrl(const QUrl &) const override { return {}; }
    bool setCookiesFromUrl(const QList<QNetworkCookie> &, const QUrl &) override { return false; }
};

inline void refuseCookies(QNetworkAccessManager &network)
{
    network.setCookieJar(new NoCookieJar(&network));
}
