#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>
#include <QtQml/qqmlregistration.h>
#include <optional>

// A world-clock city, kept under "worldClocks" as a JSON array of
// {"id", "label", "timeZone"}.
struct ClockCity {
    Q_GADGET
    QML_VALUE_TYPE(clockCity)
    Q_PROPERTY(QString id READ idText)
    Q_PROPERTY(QString label MEMBER label)
    Q_PROPERTY(QString timeZone MEMBER timeZone)

public:
    QUuid id;
    QString label;
    QString timeZone;

    bool operator==(const ClockCity &) const = default;

    QString idText() const { return id.toString(QUuid::WithoutBraces).toUpper(); }
    // "HH:mm" or "h:mm" (no marker) in the city's zone, in the user's locale.
    Q_INVOKABLE QString timeText(const QDateTime &at, bool use24Hour) const;
    // The am/pm marker in the city's zone, lower case.
    Q_INVOKABLE QString amPmText(const QDateTime &at) const;

    QJsonObject toJson() const;
    // Needs "label" and "timeZone"; a missing "id" gets a new one.
    static std::optional<ClockCity> fromJson(const QJsonObject &o);
    // The cities of a "worldClocks" value; nothing when it does not decode
    // as a non-empty list.
    static std::optional<QList<ClockCity>> decodeList(const QByteArray &data);
    static QByteArray encodeList(const QList<ClockCity> &cities);
};
