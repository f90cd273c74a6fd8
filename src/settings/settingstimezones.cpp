#include "settings/settingstimezones.h"

#include <QTimeZone>

namespace {
QVariantList toVariants(const QList<ZoneOption> &options)
{
    QVariantList list;
    for (const ZoneOption &o : options)
        list << QVariant::fromValue(o);
    return list;
}
} // namespace

const QStringList &SettingsTimeZones::commonTimeZoneIDs()
{
    static const QStringList ids{
        QStringLiteral("America/Los_Angeles"), QStringLiteral("America/Denver"), QStringLiteral("America/Chicago"),
        QStringLiteral("America/New_York"),    QStringLiteral("America/Sao_Paulo"), QStringLiteral("Europe/London"),
        QStringLiteral("Europe/Paris"),        QStringLiteral("Europe/Berlin"),   QStringLiteral("Asia/Kolkata"),
        QStringLiteral("Asia/Singapore"),      QStringLiteral("Asia/Tokyo"),      QStringLiteral("Australia/Sydney"),
        QStringLiteral("Pacific/Auckland"),
    };
    return ids;
}

QString SettingsTimeZones::prettyTimeZoneName(const QString &id)
{
    return QString(id).replace(QLatin1Char('_'), QLatin1Char(' '));
}

QStringList SettingsTimeZones::notchZoneIdentifiers(const QString &systemZone, const QString &stored)
{
    QStringList list;
    if (!commonTimeZoneIDs().contains(systemZone) && !systemZone.isEmpty())
        list << systemZone;
    // A stored common zone keeps its own place among the common ones.
    if (!stored.isEmpty() && !list.contains(stored) && !commonTimeZoneIDs().contains(stored))
        list << stored;
    for (const QString &id : commonTimeZoneIDs()) {
        if (!list.contains(id))
            list << id;
    }
    return list;
}

QList<ZoneOption> SettingsTimeZones::notchZoneMenu(const QString &systemZone, const QString &stored)
{
    QList<ZoneOption> menu{{QStringLiteral("Computer"), QString()}};
    for (const QString &id : notchZoneIdentifiers(systemZone, stored))
        menu << ZoneOption{prettyTimeZoneName(id), id};
    return menu;
}

QList<ZoneOption> SettingsTimeZones::worldClockZoneOptions(const QString &stored)
{
    QList<ZoneOption> options;
    if (!commonTimeZoneIDs().contains(stored))
        options << ZoneOption{stored, stored};
    for (const QString &id : commonTimeZoneIDs())
        options << ZoneOption{prettyTimeZoneName(id), id};
    return options;
}

QVariantList SettingsTimeZones::notchMenu(const QString &stored) const
{
    return toVariants(notchZoneMenu(QString::fromUtf8(QTimeZone::systemTimeZoneId()), stored));
}

QVariantList SettingsTimeZones::worldClockOptions(const QString &stored) const
{
    return toVariants(worldClockZoneOptions(stored));
}

int SettingsTimeZones::indexOf(const QVariantList &options, const QString &value) const
{
    for (int i = 0; i < options.size(); ++i) {
        if (options[i].value<ZoneOption>().value == value)
            return i;
    }
    return -1;
}

int SettingsTimeZones::notchIndex(const QString &stored) const
{
    return indexOf(notchMenu(stored), stored);
}

namespace {
QString valueAt(const QList<ZoneOption> &options, int index, const QString &fallback)
{
    return index >= 0 && index < options.size() ? options[index].value : fallback;
}
} // namespace

QString SettingsTimeZones::notchValue(const QString &stored, int index) const
{
    return valueAt(notchZoneMenu(QString::fromUtf8(QTimeZone::systemTimeZoneId()), stored), index, stored);
}

QString SettingsTimeZones::worldClockValue(const QString &stored, int index) const
{
    return valueAt(worldClockZoneOptions(stored), index, stored);
}
