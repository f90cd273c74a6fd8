#include "settings/worldclockseditormodel.h"

#include "store/appsettings.h"
#include "settings/settingstimezones.h"

QHash<int, QByteArray> WorldClockRow::roles()
{
    return {{IdRole, "cityId"},           {LabelRole, "label"},         {TimeZoneRole, "timeZone"},
            {ZoneOptionsRole, "zoneOptions"}, {RemovableRole, "removable"}, {ZoneIndexRole, "zoneIndex"}};
}

QVariant WorldClockRow::roleValue(int role) const
{
    switch (role) {
    case IdRole: return id;
    case LabelRole: return label;
    case TimeZoneRole: return timeZone;
    case ZoneOptionsRole: return zoneOptions;
    case RemovableRole: return removable;
    case ZoneIndexRole:
        for (int i = 0; i < zoneOptions.size(); ++i) {
            if (zoneOptions[i].value<ZoneOption>().value == timeZone)
                return i;
        }
        return -1;
    }
    return {};
}

WorldClocksEditorModel::WorldClocksEditorModel(AppSettings *settings, QObject *parent)
    : QObject(parent), m_settings(settings)
{
    connect(m_settings, &AppSettings::clocksChanged, this, &WorldClocksEditorModel::rebuild);
    rebuild();
}

bool WorldClocksEditorModel::canAdd() const
{
    return m_settings->clocks().size() < MaxCities;
}

void WorldClocksEditorModel::rebuild()
{
    const QList<ClockCity> cities = m_settings->clocks();
    std::vector<WorldClockRow> rows;
    for (const ClockCity &c : cities) {
        QVariantList options;
        for (const ZoneOption &o : SettingsTimeZones::worldClockZoneOptions(c.timeZone))
            options << QVariant::fromValue(o);
        rows.push_back({c.idText(), c.label, c.timeZone, options, cities.size() >= 2});
    }
    m_rows.sync(rows);
    emit changed();
}

void WorldClocksEditorModel::addCity()
{
    if (!canAdd())
        return;
    QList<ClockCity> cities = m_settings->clocks();
    cities.append({QUuid::createUuid(), QStringLiteral("City"), QStringLiteral("America/New_York")});
    m_settings->setClocks(cities);
    m_settings->saveClocks();
}

void WorldClocksEditorModel::removeCity(const QString &id)
{
    QList<ClockCity> cities = m_settings->clocks();
    if (cities.size() < 2)
        return;
    cities.removeIf([&id](const ClockCity &c) { return c.idText() == id; });
    m_settings->setClocks(cities);
    m_settings->saveClocks();
}

template<typename F> void WorldClocksEditorModel::edit(const QString &id, F change)
{
    QList<ClockCity> cities = m_settings->clocks();
    for (ClockCity &c : cities) {
        if (c.idText() == id)
            change(c);
    }
    m_settings->setClocks(cities);
    m_settings->saveClocks();
}

void WorldClocksEditorModel::setLabel(const QString &id, const QString &label)
{
    edit(id, [&label](ClockCity &c) { c.label = label; });
}

void WorldClocksEditorModel::setTimeZone(const QString &id, const QString &zone)
{
    edit(id, [&zone](ClockCity &c) { c.timeZone = zone; });
}
