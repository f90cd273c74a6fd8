#include "store/clockcity.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QTimeZone>

namespace {
QDateTime inZone(const QDateTime &at, const QString &zoneId)
{
    QTimeZone zone(zoneId.toUtf8());
    if (!zone.isValid())
        zone = QTimeZone::systemTimeZone();
    return at.toTimeZone(zone);
}
} // namespace

QString ClockCity::timeText(const QDateTime &at, bool use24Hour) const
{
    const QDateTime local = inZone(at, timeZone);
    const QLocale locale;
    if (use24Hour)
        return locale.toString(local.time(), QStringLiteral("HH:mm"));
    int hour = local.time().hour() % 12;
    if (hour == 0)
        hour = 12;
    // The hour in the locale's digits too, like the minutes.
    return locale.toString(hour) + QLatin1Char(':') + locale.toString(local.time(), QStringLiteral("mm"));
}

QString ClockCity::amPmText(const QDateTime &at) const
{
    const QDateTime local = inZone(at, timeZone);
    const QLocale locale;
    return (local.time().hour() < 12 ? locale.amText() : locale.pmText()).toLower();
}

QJsonObject ClockCity::toJson() const
{
    return QJsonObject{{"id", id.toString(QUuid::WithoutBraces).toUpper()}, {"label", label}, {"timeZone", timeZone}};
}

std::optional<ClockCity> ClockCity::fromJson(const QJsonObject &o)
{
    const QJsonValue label = o.value("label");
    const QJsonValue zone = o.value("timeZone");
    if (!label.isString() || !zone.isString())
        return std::nullopt;
    ClockCity city;
    city.label = label.toString();
    city.timeZone = zone.toString();
    const QJsonValue id = o.value("id");
    if (id.isUndefined() || id.isNull()) {
        city.id = QUuid::createUuid();
    } else {
        city.id = QUuid::fromString(id.toString());
        if (!id.isString() || city.id.isNull())
            return std::nullopt; // present but not a UUID: the list does not decode
    }
    return city;
}

std::optional<QList<ClockCity>> ClockCity::decodeList(const QByteArray &data)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return std::nullopt;
    QList<ClockCity> cities;
    for (const QJsonValue &v : doc.array()) {
        if (!v.isObject())
            return std::nullopt;
        const auto city = fromJson(v.toObject());
        if (!city)
            return std::nullopt;
        cities << *city;
    }
    if (cities.isEmpty())
        return std::nullopt;
    return cities;
}

QByteArray ClockCity::encodeList(const QList<ClockCity> &cities)
{
    QJsonArray array;
    for (const ClockCity &c : cities)
        array.append(c.toJson());
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}
