#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// One choice of a time-zone picker: the text shown and the identifier stored.
struct ZoneOption {
    Q_GADGET
    QML_VALUE_TYPE(zoneOption)
    Q_PROPERTY(QString text MEMBER text CONSTANT)
    Q_PROPERTY(QString value MEMBER value CONSTANT)
public:
    QString text;
    QString value;
    bool operator==(const ZoneOption &) const = default;
};

// The time zones the clock editors offer and how they show them. Views reach
// it as the QML singleton SettingsTimeZones.
class SettingsTimeZones : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;

    static const QStringList &commonTimeZoneIDs();
    // "America/Los_Angeles" shows as "America/Los Angeles".
    static QString prettyTimeZoneName(const QString &id);
    // The notch clock's zones: the system zone when it is not a common one,
    // then a stored zone that is neither, then the common zones.
    static QStringList notchZoneIdentifiers(const QString &systemZone, const QString &stored);
    // The notch clock's menu: "Computer" (follow the system) first, then the
    // zones above with their shown names.
    static QList<ZoneOption> notchZoneMenu(const QString &systemZone, const QString &stored);
    // A world clock's zones: its own zone first, unchanged, when it is not a
    // common one; then the common zones.
    static QList<ZoneOption> worldClockZoneOptions(const QString &stored);

    Q_INVOKABLE QVariantList notchMenu(const QString &stored) const;
    Q_INVOKABLE QVariantList worldClockOptions(const QString &stored) const;
    // Where value sits in options (a list from above); -1 when absent.
    Q_INVOKABLE int indexOf(const QVariantList &options, const QString &value) const;
    // Where stored sits in notchMenu(stored), and the zone picked at index
    // of it (stored when index is out of range).
    Q_INVOKABLE int notchIndex(const QString &stored) const;
    Q_INVOKABLE QString notchValue(const QString &stored, int index) const;
    // The zone picked at index of worldClockOptions(stored) (stored when out of range).
    Q_INVOKABLE QString worldClockValue(const QString &stored, int index) const;
};
