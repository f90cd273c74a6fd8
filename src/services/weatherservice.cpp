#include "services/weatherservice.h"
#include "core/nocookies.h"

#include "services/doubletext.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QRegularExpression>
#include <QUrlQuery>
#include <cmath>
#include <limits>

namespace {

std::optional<double> number(const QJsonValue &v)
{
    if (!v.isDouble())
        return std::nullopt;
    return v.toDouble();
}

std::optional<int> integer(const QJsonValue &v)
{
    if (!v.isDouble())
        return std::nullopt;
    const double d = v.toDouble();
    if (!std::isfinite(d) || d != std::trunc(d) || d < std::numeric_limits<int>::min()
        || d > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(d);
}

bool numberArray(const QJsonValue &v, QList<double> &out)
{
    if (!v.isArray())
        return false;
    for (const QJsonValue &item : v.toArray()) {
        const auto n = number(item);
        if (!n)
            return false;
        out.append(*n);
    }
    return true;
}

bool stringArray(const QJsonValue &v, QStringList &out)
{
    if (!v.isArray())
        return false;
    for (const QJsonValue &item : v.toArray()) {
        if (!item.isString())
            return false;
        out.append(item.toString());
    }
    return true;
}

} // namespace

std::optional<OpenMeteo> OpenMeteo::decode(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject root = doc.object();
    const QJsonValue current = root.value(QLatin1String("current"));
    const QJsonValue daily = root.value(QLatin1String("daily"));
    if (!current.isObject() || !daily.isObject())
        return std::nullopt;

    OpenMeteo reply;
    const QJsonObject c = current.toObject();
    const auto temperature = number(c.value(QLatin1String("temperature_2m")));
    const auto code = integer(c.value(QLatin1String("weather_code")));
    if (!temperature || !code)
        return std::nullopt;
    reply.current.temperature2m = *temperature;
    reply.current.weatherCode = *code;
    const QJsonValue humidity = c.value(QLatin1String("relative_humidity_2m"));
    if (!humidity.isUndefined() && !humidity.isNull()) {
        reply.current.humidity = integer(humidity);
        if (!reply.current.humidity)
            return std::nullopt;
    }

    const QJsonObject d = daily.toObject();
    if (!numberArray(d.value(QLatin1String("temperature_2m_max")), reply.daily.temperatureMax)
        || !numberArray(d.value(QLatin1String("temperature_2m_min")), reply.daily.temperatureMin)
        || !stringArray(d.value(QLatin1String("sunrise")), reply.daily.sunrise)
        || !stringArray(d.value(QLatin1String("sunset")), reply.daily.sunset))
        return std::nullopt;
    return reply;
}

WeatherService::WeatherService(const QUrl &forecastBase, platform::ILocationProvider *location,
                               platform::IReverseGeocoder *geocoder, QNetworkAccessManager *network,
                               Scheduler *scheduler, QObject *parent)
    : QObject(parent)
    , m_base(forecastBase)
    , m_location(location)
    , m_geocoder(geocoder)
    , m_network(network ? network : new QNetworkAccessManager(this))
    , m_scheduler(scheduler)
{
    if (!network)
        refuseCookies(*m_network);
}

WeatherService::~WeatherService()
{
    // Whoever still waits for a location hears nothing more; invalidate
    // their callbacks before the providers go.
    ++m_locationGeneration;
    m_continuation = nullptr;
}

void WeatherService::resolveLocation(bool useLocation, LocationCallback done)
{
    if (!useLocation || !m_location->isAuthorized()) {
        done(std::nullopt);
        return;
    }
    // While a fresh position is on its way, the last one known will do.
    if (m_continuation) {
        if (const auto known = lastPosition()) {
            done(known);
            return;
        }
    }
    // One request at a time: an earlier wait ends now, with no location,
    // instead of being stranded.
    endLocationWait(std::nullopt);
    const quint64 generation = ++m_locationGeneration;
    // A fresh position wins; without one, the last one known.
    QPointer<WeatherService> guard(this);
    m_continuation = [guard, done = std::move(done)](std::optional<GeoCoordinate> where) {
        if (guard && where)
            guard->m_lastPosition = where;
        else if (guard)
            where = guard->lastPosition();
        done(where);
    };
    m_locationTimeout = m_scheduler->after(LocationTimeoutMs, [this, generation] {
        if (generation == m_locationGeneration)
            endLocationWait(std::nullopt);
    });
    QPointer<WeatherService> self(this);
    m_location->requestLocation(LocationTimeoutMs, [self, generation](std::optional<GeoCoordinate> where) {
        if (!self || generation != self->m_locationGeneration)
            return;
        if (where && !where->isValid())
            where.reset();
        self->endLocationWait(where);
    });
}

std::optional<GeoCoordinate> WeatherService::lastPosition() const
{
    if (m_lastPosition)
        return m_lastPosition;
    if (auto known = m_location->lastKnown(); known && known->isValid())
        return known;
    return std::nullopt;
}

void WeatherService::endLocationWait(std::optional<GeoCoordinate> result)
{
    m_locationTimeout.cancel();
    if (!m_continuation)
        return;
    auto done = std::move(m_continuation);
    m_continuation = nullptr;
    ++m_locationGeneration;
    done(result);
}

void WeatherService::fetch(bool useLocation, Callback done)
{
    QPointer<WeatherService> self(this);
    resolveLocation(useLocation, [self, done](std::optional<GeoCoordinate> where) {
        if (!self)
            return;
        if (!where) {
            done(std::nullopt);
            return;
        }
        const QUrl url = forecastUrl(self->m_base, *where);
        if (!url.isValid()) {
            done(std::nullopt);
            return;
        }
        QNetworkRequest request(url);
        request.setTransferTimeout(RequestTimeoutMs);
        QNetworkReply *reply = self->m_network->get(request);
        reply->setParent(self);
        const GeoCoordinate location = *where;
        QObject::connect(reply, &QNetworkReply::finished, self, [self, reply, done, location] {
            reply->deleteLater();
            const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
            // A transfer that broke off counts as failed even after a 200.
            if (reply->error() != QNetworkReply::NoError || !status.isValid() || status.toInt() != 200) {
                done(std::nullopt);
                return;
            }
            const auto decoded = OpenMeteo::decode(reply->readAll());
            if (!decoded) {
                done(std::nullopt);
                return;
            }
            const WeatherInfo partial = makeInfo(*decoded);
            self->placeName(location, [partial, done](QString place) {
                WeatherInfo info = partial;
                info.place = std::move(place);
                done(info);
            });
        });
    });
}

void WeatherService::placeName(const GeoCoordinate &where, std::function<void(QString)> done)
{
    QPointer<WeatherService> self(this);
    m_geocoder->locality(where, [self, done](std::optional<QString> name) {
        if (!self)
            return;
        done(name && !name->isEmpty() ? *name : QStringLiteral("Local"));
    });
}

QUrl WeatherService::forecastUrl(const QUrl &base, const GeoCoordinate &where)
{
    QUrl url = base;
    QString path = url.path();
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path + QStringLiteral("/v1/forecast"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("latitude"), shortestDoubleText(where.latitude));
    query.addQueryItem(QStringLiteral("longitude"), shortestDoubleText(where.longitude));
    query.addQueryItem(QStringLiteral("current"), QStringLiteral("temperature_2m,weather_code,relative_humidity_2m"));
    query.addQueryItem(QStringLiteral("daily"), QStringLiteral("temperature_2m_max,temperature_2m_min,sunrise,sunset"));
    query.addQueryItem(QStringLiteral("temperature_unit"), QStringLiteral("fahrenheit"));
    query.addQueryItem(QStringLiteral("forecast_days"), QStringLiteral("1"));
    query.addQueryItem(QStringLiteral("timezone"), QStringLiteral("auto"));
    url.setQuery(query);
    return url;
}

int WeatherService::roundedDegrees(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::round(value);
    if (rounded <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (rounded >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(rounded);
}

WeatherInfo WeatherService::makeInfo(const OpenMeteo &reply)
{
    WeatherInfo info;
    info.temperature = roundedDegrees(reply.current.temperature2m);
    info.high = reply.daily.temperatureMax.isEmpty() ? info.temperature
                                                     : roundedDegrees(reply.daily.temperatureMax.front());
    info.low = reply.daily.temperatureMin.isEmpty() ? info.temperature
                                                    : roundedDegrees(reply.daily.temperatureMin.front());
    info.humidity = reply.current.humidity.value_or(0);
    info.symbol = symbol(reply.current.weatherCode);
    info.summary = summary(reply.current.weatherCode);
    auto first = [](const QStringList &list) {
        return list.isEmpty() ? std::nullopt : std::optional<QString>(list.front());
    };
    info.sunrise = sunText(first(reply.daily.sunrise));
    info.sunset = sunText(first(reply.daily.sunset));
    return info;
}

QString WeatherService::symbol(int code)
{
    switch (code) {
    case 0:
        return QStringLiteral("sun.max.fill");
    case 1: case 2:
        return QStringLiteral("cloud.sun.fill");
    case 45: case 48:
        return QStringLiteral("cloud.fog.fill");
    case 51: case 53: case 55: case 56: case 57:
    case 61: case 63: case 65: case 66: case 67:
    case 80: case 81: case 82:
        return QStringLiteral("cloud.rain.fill");
    case 71: case 73: case 75: case 77: case 85: case 86:
        return QStringLiteral("cloud.snow.fill");
    case 95: case 96: case 99:
        return QStringLiteral("cloud.bolt.rain.fill");
    default:
        return QStringLiteral("cloud.fill");
    }
}

QString WeatherService::summary(int code)
{
    switch (code) {
    case 0:
        return QStringLiteral("Clear");
    case 1: case 2:
        return QStringLiteral("Partly cloudy");
    case 3:
        return QStringLiteral("Cloudy");
    case 45: case 48:
        return QStringLiteral("Fog");
    case 51: case 53: case 55: case 56: case 57:
        return QStringLiteral("Drizzle");
    case 61: case 63: case 65: case 66: case 67: case 80: case 81: case 82:
        return QStringLiteral("Rain");
    case 71: case 73: case 75: case 77: case 85: case 86:
        return QStringLiteral("Snow");
    case 95: case 96: case 99:
        return QStringLiteral("Storms");
    default:
        return QStringLiteral("Fair");
    }
}

QString WeatherService::sunText(const std::optional<QString> &time)
{
    const QString dash = QStringLiteral("—");
    if (!time)
        return dash;
    // The internet date-time form: full date, time with seconds, and a zone.
    static const QRegularExpression internetDateTime(
        QStringLiteral(R"(^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}(Z|[+-]\d{2}:\d{2})$)"),
        QRegularExpression::CaseInsensitiveOption);
    if (internetDateTime.match(*time).hasMatch()) {
        const QDateTime parsed = QDateTime::fromString(time->toUpper(), Qt::ISODate);
        if (parsed.isValid())
            return QLocale().toString(parsed.toLocalTime().time(), QLocale::ShortFormat);
    }
    if (time->size() < 16)
        return dash;
    return time->mid(11, 5);
}
