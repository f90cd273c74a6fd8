#include "icscalendarsource.h"

#include "logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimeZone>
#include <QTimer>
#include <set>

#include <libical/ical.h>

namespace platform {

namespace {

constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
// A bound on the occurrences looked at per event and query, against rules
// such as every minute since years ago.
constexpr int MaxOccurrences = 200000;

// How a component's times are to be read: the zone libical resolved from the
// file, else a zone named by TZID, else floating (the user's local time).
struct ZoneSpec {
    const icaltimezone *zone = nullptr;
    QTimeZone named;
};

ZoneSpec zoneOf(const icaltimetype &t, icalproperty *prop)
{
    ZoneSpec tz;
    if (t.zone) {
        tz.zone = t.zone;
        return tz;
    }
    if (icalparameter *param = prop ? icalproperty_get_first_parameter(prop, ICAL_TZID_PARAMETER) : nullptr) {
        if (const char *tzid = icalparameter_get_tzid(param)) {
            // "Europe/Paris", or the same with libical's own TZID prefix.
            if (const icaltimezone *builtin = icaltimezone_get_builtin_timezone(tzid))
                tz.zone = builtin;
            else if (const icaltimezone *prefixed = icaltimezone_get_builtin_timezone_from_tzid(tzid))
                tz.zone = prefixed;
            else
                tz.named = QTimeZone(QByteArray(tzid));
        }
    }
    return tz;
}

QDateTime toDateTime(const icaltimetype &t, const ZoneSpec &tz)
{
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
        return {};
    const QDate date(t.year, t.month, t.day);
    if (t.is_date)
        return QDateTime(date, QTime(0, 0));
    if (icaltime_is_utc(t))
        return QDateTime(date, QTime(t.hour, t.minute, t.second), QTimeZone::utc());
    if (tz.zone) {
        const time_t secs = icaltime_as_timet_with_zone(t, tz.zone);
        return QDateTime::fromSecsSinceEpoch(qint64(secs));
    }
    if (tz.named.isValid())
        return QDateTime(date, QTime(t.hour, t.minute, t.second), tz.named);
    return QDateTime(date, QTime(t.hour, t.minute, t.second));
}

// The wall time of a moment in the zone an event's start is written in.
icaltimetype toIcal(const QDateTime &when, const icaltimetype &like, const ZoneSpec &tz)
{
    if (tz.zone && !icaltime_is_utc(like))
        return icaltime_from_timet_with_zone(time_t(when.toSecsSinceEpoch()), like.is_date, tz.zone);
    QDateTime local = when;
    if (icaltime_is_utc(like))
        local = when.toUTC();
    else if (tz.named.isValid())
        local = when.toTimeZone(tz.named);
    else
        local = when.toLocalTime();
    icaltimetype t = like;
    t.year = local.date().year();
    t.month = local.date().month();
    t.day = local.date().day();
    if (!like.is_date) {
        t.hour = local.time().hour();
        t.minute = local.time().minute();
        t.second = local.time().second();
    }
    return t;
}

QString text(const char *value)
{
    return value ? QString::fromUtf8(value) : QString();
}

QDateTime propertyTime(icalcomponent *comp, icalproperty_kind kind, icaltimetype (*get)(const icalproperty *))
{
    icalproperty *prop = icalcomponent_get_first_property(comp, kind);
    if (!prop)
        return {};
    const icaltimetype t = get(prop);
    return toDateTime(t, zoneOf(t, prop));
}

// Every VCALENDAR in a parsed file (one, or several under an XROOT).
template<typename Fn>
void forEachCalendar(icalcomponent *root, Fn fn)
{
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) {
        fn(root);
        return;
    }
    for (icalcomponent *c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT); c;
         c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
        fn(c);
}

bool isCancelled(icalcomponent *comp)
{
    return icalcomponent_get_status(comp) == ICAL_STATUS_CANCELLED;
}

struct Occurrence {
    QDateTime start;
    QDateTime end;
};

// Expands one event (with its overrides removed) into the occurrences that
// overlap [from, to).
void expand(icalcomponent *event, const QDateTime &from, const QDateTime &to, const std::set<qint64> &overridden,
            const std::function<void(const Occurrence &)> &emitOccurrence)
{
    icalproperty *startProp = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!startProp)
        return;
    const icaltimetype dtstart = icalcomponent_get_dtstart(event);
    const ZoneSpec tz = zoneOf(dtstart, startProp);
    const QDateTime first = toDateTime(dtstart, tz);
    if (!first.isValid())
        return;

    // Length of every occurrence, from DTEND or DURATION; a timed event
    // without either is a moment, a dated one a day.
    qint64 seconds = 0;
    qint64 days = dtstart.is_date ? 1 : 0;
    const bool hasEnd = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)
        || icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY);
    if (hasEnd) {
        const icaltimetype dtend = icalcomponent_get_dtend(event);
        icalproperty *endProp = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY);
        const QDateTime end = toDateTime(dtend, endProp ? zoneOf(dtend, endProp) : tz);
        if (end.isValid()) {
            if (dtstart.is_date)
                days = std::max<qint64>(first.date().daysTo(end.date()), 1);
            else
                seconds = std::max<qint64>(first.secsTo(end), 0);
        }
    }
    auto endOf = [&](const QDateTime &start) { return dtstart.is_date ? start.addDays(days) : start.addSecs(seconds); };
    auto offer = [&](const QDateTime &start) {
        if (!start.isValid() || overridden.count(start.toMSecsSinceEpoch()))
            return;
        const QDateTime end = endOf(start);
        const bool overlaps = start < to && (end > from || (start >= from && start == end));
        if (overlaps)
            emitOccurrence({start, end});
    };

    icalproperty *rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    icalproperty *rdate = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
    if (!rrule && !rdate) {
        offer(first);
        return;
    }

    std::set<qint64> excluded;
    std::set<QDate> excludedDates;
    for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
        const icaltimetype t = icalproperty_get_exdate(p);
        const QDateTime when = toDateTime(t, zoneOf(t, p));
        if (t.is_date && !dtstart.is_date)
            excludedDates.insert(when.date());
        else if (when.isValid())
            excluded.insert(when.toMSecsSinceEpoch());
    }
    auto offerUnlessExcluded = [&](const QDateTime &start) {
        if (!excluded.count(start.toMSecsSinceEpoch()) && !excludedDates.count(start.date()))
            offer(start);
    };

    std::vector<QDateTime> starts;
    if (rrule) {
        const icalrecurrencetype rule = icalproperty_get_rrule(rrule);
        icalrecur_iterator *it = icalrecur_iterator_new(rule, dtstart);
        if (it) {
            // Jump close to the window when the rule allows it (not with COUNT).
            const QDateTime jump = from.addSecs(-seconds).addDays(-days - 1);
            if (rule.count == 0 && first < jump)
                icalrecur_iterator_set_start(it, toIcal(jump, dtstart, tz));
            for (int n = 0; n < MaxOccurrences; ++n) {
                const icaltimetype t = icalrecur_iterator_next(it);
                if (icaltime_is_null_time(t))
                    break;
                const QDateTime start = toDateTime(t, tz);
                if (!start.isValid() || start >= to)
                    break;
                starts.push_back(start);
            }
            icalrecur_iterator_free(it);
        }
    } else {
        starts.push_back(first);
    }
    for (icalproperty *p = rdate; p; p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
        const icaltimetype t = icaltime_is_null_time(value.time) ? value.period.start : value.time;
        const QDateTime start = toDateTime(t, zoneOf(t, p));
        if (start.isValid() && std::find(starts.begin(), starts.end(), start) == starts.end())
            starts.push_back(start);
    }
    std::stable_sort(starts.begin(), starts.end());
    for (const QDateTime &start : starts)
        offerUnlessExcluded(start);
}

CalendarEvent makeEvent(icalcomponent *comp, const Occurrence &when, const QString &calendarName)
{
    CalendarEvent e;
    e.title = text(icalcomponent_get_summary(comp));
    e.start = when.start;
    e.end = when.end;
    e.allDay = icalcomponent_get_dtstart(comp).is_date;
    e.calendarName = calendarName;
    e.notes = text(icalcomponent_get_description(comp));
    e.location = text(icalcomponent_get_location(comp));
    if (icalproperty *url = icalcomponent_get_first_property(comp, ICAL_URL_PROPERTY))
        e.url = QUrl(text(icalproperty_get_url(url)));
    return e;
}

} // namespace

IcsCalendarSource::IcsCalendarSource(QStringList roots, QString sourcesDir, QObject *parent)
    : QObject(parent)
    , m_roots(std::move(roots))
    , m_sourcesDir(std::move(sourcesDir))
{
    m_worker.setMaxThreadCount(1);
}

IcsCalendarSource::~IcsCalendarSource()
{
    m_worker.clear();
    m_worker.waitForDone();
    for (auto &[path, file] : m_files)
        icalcomponent_free(file.root);
}

QStringList IcsCalendarSource::defaultRoots()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return {data + QStringLiteral("/evolution/calendar"), data + QStringLiteral("/evolution/tasks")};
}

QString IcsCalendarSource::defaultSourcesDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/evolution/sources");
}

void IcsCalendarSource::reload()
{
    QStringList paths;
    for (const QString &root : std::as_const(m_roots)) {
        const QDir dir(root);
        for (const QString &name : dir.entryList({QStringLiteral("*.ics")}, QDir::Files | QDir::Readable, QDir::Name))
            paths << dir.filePath(name);
        for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const QDir child(dir.filePath(sub));
            for (const QString &name :
                 child.entryList({QStringLiteral("*.ics")}, QDir::Files | QDir::Readable, QDir::Name))
                paths << child.filePath(name);
        }
    }

    std::map<QString, File> next;
    for (const QString &path : std::as_const(paths)) {
        const QFileInfo info(path);
        auto old = m_files.find(path);
        if (old != m_files.end() && old->second.modified == info.lastModified() && old->second.size == info.size()) {
            next.emplace(path, old->second);
            old->second.root = nullptr;
            continue;
        }
        if (info.size() > MaxFileBytes) {
            qCWarning(lcPlatform) << "calendar file too large, skipped:" << path;
            continue;
        }
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray data = f.readAll();
        icalcomponent *root = icalparser_parse_string(data.constData());
        if (!root) {
            qCWarning(lcPlatform) << "unreadable calendar file:" << path;
            continue;
        }
        File file;
        file.modified = info.lastModified();
        file.size = info.size();
        file.root = root;
        file.calendarName = displayName(path, root);
        forEachCalendar(root, [&](icalcomponent *cal) {
            file.hasEvents = file.hasEvents || icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT);
            file.hasTasks = file.hasTasks || icalcomponent_get_first_component(cal, ICAL_VTODO_COMPONENT);
        });
        next.emplace(path, file);
    }
    for (auto &[path, file] : m_files) {
        if (file.root)
            icalcomponent_free(file.root);
    }
    m_files = std::move(next);
}

QString IcsCalendarSource::displayName(const QString &filePath, icalcomponent *root) const
{
    QString name;
    forEachCalendar(root, [&](icalcomponent *cal) {
        for (icalproperty *p = icalcomponent_get_first_property(cal, ICAL_X_PROPERTY); p && name.isEmpty();
             p = icalcomponent_get_next_property(cal, ICAL_X_PROPERTY)) {
            if (qstrcmp(icalproperty_get_x_name(p), "X-WR-CALNAME") == 0)
                name = text(icalproperty_get_x(p));
        }
    });
    if (!name.isEmpty())
        return name;
    // Evolution names a calendar in <sources>/<folder name>.source.
    const QFileInfo info(filePath);
    const QString folder = info.dir().dirName();
    const bool inRoot = std::any_of(m_roots.begin(), m_roots.end(), [&](const QString &root) {
        return QDir(root).absolutePath() == info.absolutePath();
    });
    if (!inRoot) {
        // The built-in local calendar and task list live in "system" and are
        // described by system-calendar.source and system-task-list.source.
        QStringList ids{folder};
        if (folder == QLatin1String("system"))
            ids << QStringLiteral("system-calendar") << QStringLiteral("system-task-list");
        for (const QString &id : std::as_const(ids)) {
            QFile source(m_sourcesDir + QLatin1Char('/') + id + QStringLiteral(".source"));
            if (!source.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray &line : source.read(64 * 1024).split('\n')) {
                if (line.startsWith("DisplayName="))
                    return QString::fromUtf8(line.mid(12)).trimmed();
            }
        }
        return folder == QLatin1String("system") ? QStringLiteral("Personal") : QString();
    }
    return info.completeBaseName();
}

bool IcsCalendarSource::eventsReadable()
{
    reload();
    return std::any_of(m_files.begin(), m_files.end(), [](const auto &f) { return f.second.hasEvents; });
}

bool IcsCalendarSource::remindersReadable()
{
    reload();
    return std::any_of(m_files.begin(), m_files.end(), [](const auto &f) { return f.second.hasTasks; });
}

QList<CalendarEvent> IcsCalendarSource::events(const QDateTime &from, const QDateTime &to)
{
    reload();
    QList<CalendarEvent> out;
    for (const auto &[path, file] : m_files) {
        if (!file.hasEvents)
            continue;
        forEachCalendar(file.root, [&](icalcomponent *cal) {
            // Occurrences moved or cancelled by an override, per event.
            std::map<QByteArray, std::set<qint64>> overridden;
            for (icalcomponent *c = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); c;
                 c = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
                icalproperty *rid = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY);
                if (!rid)
                    continue;
                const icaltimetype t = icalproperty_get_recurrenceid(rid);
                const QDateTime when = toDateTime(t, zoneOf(t, rid));
                if (when.isValid())
                    overridden[QByteArray(icalcomponent_get_uid(c))].insert(when.toMSecsSinceEpoch());
            }
            static const std::set<qint64> none;
            for (icalcomponent *c = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); c;
                 c = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
                if (isCancelled(c))
                    continue;
                const bool isOverride = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY);
                const auto found = overridden.find(QByteArray(icalcomponent_get_uid(c)));
                const std::set<qint64> &skip = isOverride || found == overridden.end() ? none : found->second;
                expand(c, from, to, skip, [&](const Occurrence &o) {
                    out.append(makeEvent(c, o, file.calendarName));
                });
            }
        });
    }
    return out;
}

QList<CalendarReminder> IcsCalendarSource::reminders(const std::optional<QDateTime> &dueBefore)
{
    reload();
    QList<CalendarReminder> out;
    for (const auto &[path, file] : m_files) {
        if (!file.hasTasks)
            continue;
        forEachCalendar(file.root, [&](icalcomponent *cal) {
            for (icalcomponent *c = icalcomponent_get_first_component(cal, ICAL_VTODO_COMPONENT); c;
                 c = icalcomponent_get_next_component(cal, ICAL_VTODO_COMPONENT)) {
                const icalproperty_status status = icalcomponent_get_status(c);
                if (status == ICAL_STATUS_COMPLETED || status == ICAL_STATUS_CANCELLED
                    || icalcomponent_get_first_property(c, ICAL_COMPLETED_PROPERTY))
                    continue;
                if (icalproperty *pc = icalcomponent_get_first_property(c, ICAL_PERCENTCOMPLETE_PROPERTY);
                    pc && icalproperty_get_percentcomplete(pc) >= 100)
                    continue;
                CalendarReminder r;
                r.title = text(icalcomponent_get_summary(c));
                r.listName = file.calendarName;
                const QDateTime due = propertyTime(c, ICAL_DUE_PROPERTY, icalproperty_get_due);
                if (due.isValid()) {
                    if (dueBefore && due > *dueBefore)
                        continue;
                    r.due = due;
                }
                out.append(r);
            }
        });
    }
    return out;
}

template<typename Result>
void IcsCalendarSource::inBackground(std::function<Result()> work, std::function<void(Result)> deliver)
{
    m_worker.start([this, work = std::move(work), deliver = std::move(deliver)]() mutable {
        Result result = [&] {
            QMutexLocker lock(&m_filesLock);
            return work();
        }();
        // Queued to the main thread; dropped when the source is gone.
        QMetaObject::invokeMethod(
            this, [deliver = std::move(deliver), result = std::move(result)]() mutable { deliver(std::move(result)); },
            Qt::QueuedConnection);
    });
}

void IcsCalendarSource::fetchEvents(const QDateTime &from, const QDateTime &to, EventsCallback done)
{
    inBackground<QList<CalendarEvent>>([this, from, to] { return events(from, to); }, std::move(done));
}

void IcsCalendarSource::fetchIncompleteReminders(const std::optional<QDateTime> &dueBefore, RemindersCallback done)
{
    inBackground<std::optional<QList<CalendarReminder>>>(
        [this, dueBefore]() -> std::optional<QList<CalendarReminder>> {
            QList<CalendarReminder> list = reminders(dueBefore);
            const bool readable = std::any_of(m_files.begin(), m_files.end(),
                                              [](const auto &f) { return f.second.hasTasks; });
            if (!readable)
                return std::nullopt;
            return list;
        },
        std::move(done));
}

} // namespace platform
