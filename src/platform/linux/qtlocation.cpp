#include "platform/linux/qtlocation.h"
#include "core/nocookies.h"

#include "core/logging.h"

#include <QCoreApplication>
#include <QGeoPositionInfoSource>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QUrlQuery>

namespace platform {

QtLocationProvider::QtLocationProvider(QObject *parent)
    : QObject(parent)
{
}

QtLocationProvider::~QtLocationProvider() = default;

QGeoPositionInfoSource *QtLocationProvider::source()
{
    if (m_triedSource)
        return m_source;
    m_triedSource = true;
    // GeoClue wants to know which desktop entry is asking.
    QString desktopId = QGuiApplication::desktopFileName();
    if (desktopId.isEmpty())
        desktopId = QStringLiteral("pavlet");
    m_source = QGeoPositionInfoSource::createDefaultSource({{QStringLiteral("desktopId"), desktopId}}, this);
    if (!m_source) {
        qCInfo(lcPlatform) << "no position source available";
        return nullptr;
    }
    m_source->setPreferredPositioningMethods(QGeoPositionInfoSource::AllPositioningMethods);
    connect(m_source, &QGeoPositionInfoSource::positionUpdated, this, [this](const QGeoPositionInfo &info) {
        if (!info.isValid()) {
            answer(std::nullopt);
            return;
        }
        answer(GeoCoordinate(info.coordinate().latitude(), info.coordinate().longitude()));
    });
    connect(m_source, &QGeoPositionInfoSource::errorOccurred, this, [this](QGeoPositionInfoSource::Error error) {
        qCInfo(lcPlatform) << "position request failed:" << error;
        answer(std::nullopt);
    });
    return m_source;
}

bool QtLocationProvider::isAuthorized()
{
    QGeoPositionInfoSource *s = source();
    return s && s->error() != QGeoPositionInfoSource::AccessError;
}

std::optional<GeoCoordinate> QtLocationProvider::lastKnown()
{
    QGeoPositionInfoSource *s = source();
    if (!s)
        return std::nullopt;
    const QGeoPositionInfo info = s->lastKnownPosition();
    if (!info.isValid() || !info.coordinate().isValid())
        return std::nullopt;
    return GeoCoordinate(info.coordinate().latitude(), info.coordinate().longitude());
}

void QtLocationProvider::requestLocation(int timeoutMs, Callback done)
{
    answer(std::nullopt);
    QGeoPositionInfoSource *s = source();
    if (!s) {
        QMetaObject::invokeMethod(this, [done = std::move(done)] { done(std::nullopt); }, Qt::QueuedConnection);
        return;
    }
    m_pending = std::move(done);
    s->requestUpdate(timeoutMs);
}

void QtLocationProvider::answer(std::optional<GeoCoordinate> where)
{
    if (!m_pending)
        return;
    auto done = std::move(m_pending);
    m_pending = nullptr;
    done(where);
}

NominatimGeocoder::NominatimGeocoder(const QUrl &base, QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_base(base)
    , m_network(network ? network : new QNetworkAccessManager(this))
{
    if (!network)
        refuseCookies(*m_network);
}

void NominatimGeocoder::locality(const GeoCoordinate &where, Callback done)
{
    QUrl url = m_base;
    QString path = url.path();
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path + QStringLiteral("/reverse"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("format"), QStringLiteral("jsonv2"));
    query.addQueryItem(QStringLiteral("lat"), QString::number(where.latitude, 'f', 6));
    query.addQueryItem(QStringLiteral("lon"), QString::number(where.longitude, 'f', 6));
    query.addQueryItem(QStringLiteral("zoom"), QStringLiteral("10"));
    url.setQuery(query);

    QNetworkRequest request(url);
    request.setTransferTimeout(TimeoutMs);
    // The public service asks every client to name itself.
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Pavlet/%1").arg(QCoreApplication::applicationVersion().isEmpty()
                                                          ? QStringLiteral(PAVLET_VERSION)
                                                          : QCoreApplication::applicationVersion()));
    QNetworkReply *reply = m_network->get(request);
    reply->setParent(this);
    connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError
            || reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200) {
            done(std::nullopt);
            return;
        }
        const QJsonObject address =
            QJsonDocument::fromJson(reply->readAll()).object().value(QLatin1String("address")).toObject();
        for (const char *key : {"city", "town", "village", "municipality"}) {
            const QJsonValue v = address.value(QLatin1String(key));
            if (v.isString() && !v.toString().isEmpty()) {
                done(v.toString());
                return;
            }
        }
        done(std::nullopt);
    });
}

} // namespace platform
