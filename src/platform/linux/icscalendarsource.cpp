#include "platform/linux/icscalendarsource.h"

#include "core/logging.h"

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

// Bounds on the work one query may do, against rules such as "every second
// since years ago": rule steps (including those before the window) and
// occurrences handed out, per event and for the whole query. Once the
// query's share is spent, every further event still gets its first few
// occurrences, so no event of a file goes missing because of another.
constexpr int MaxStepsPerEvent = 50000;
constexpr int MaxStepsPerQuery = 300000;
constexpr int MinStepsPerEvent = 2000;
constexpr int MaxOccurrencesPerEvent = 1000;
constexpr int MaxOccurrencesPerQuery = 20000;
constexpr int MinOccurrencesPerEvent = 16;

struct QueryBudget {
    int steps = MaxStepsPerQuery;
    int occurrences = MaxOccurrencesPerQuery;

    int stepCap() const { return std::clamp(steps, MinStepsPerEvent, MaxStepsPerEvent); }
    int occurrenceCap() const { return std::clamp(occurrences, MinOccurrencesPerEvent, MaxOccurrencesPerEvent); }
};

// ---- repairing broken files ---------------------------------------------

// Whether a component named child may stand directly inside parent (empty
// parent: the top of the file).
bool canContain(const QByteArray &parent, const QByteArray &child)
{
    static const QByteArrayList calendarParts{"VEVENT", "VTODO", "VJOURNAL", "VFREEBUSY", "VTIMEZONE"};
    if (child == "VCALENDAR")
        return parent.isEmpty();
    if (calendarParts.contains(child))
        return parent.isEmpty() || parent == "VCALENDAR";
    if (child == "STANDARD" || child == "DAYLIGHT")
        return parent == "VTIMEZONE";
    if (child == "VALARM")
        return parent == "VEVENT" || parent == "VTODO";
    return !parent.isEmpty() && parent != "VALARM" && parent != "STANDARD" && parent != "DAYLIGHT";
}

// The file without the components that are never closed (a BEGIN:VEVENT
// whose END:VEVENT is missing), which would make the parser refuse the whole
// file. Stray END lines go too; an unclosed calendar is closed. Returns the
// data unchanged when nothing is broken.
QByteArray withoutUnclosedComponents(const QByteArray &data, int *dropped)
{
    *dropped = 0;
    const QByteArrayList lines = data.split('\n');
    std::vector<bool> keep(lines.size(), true);
    struct Open {
        QByteArray name;
        qsizetype line;
    };
    std::vector<Open> stack;
    bool changed = false;
    auto dropTop = [&](qsizetype upTo) {
        std::fill(keep.begin() + stack.back().line, keep.begin() + upTo, false);
        stack.pop_back();
        ++*dropped;
        changed = true;
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &raw = lines[i];
        if (raw.startsWith(' ') || raw.startsWith('\t'))
            continue; // a folded line's continuation
        const QByteArray line = raw.trimmed().toUpper();
        if (line.startsWith("BEGIN:")) {
            const QByteArray name = line.mid(6).trimmed();
            while (!stack.empty() && !canContain(stack.back().name, name))
                dropTop(i);
            stack.push_back({name, i});
        } else if (line.startsWith("END:")) {
            const QByteArray name = line.mid(4).trimmed();
            const bool open = std::any_of(stack.begin(), stack.end(), [&](const Open &o) { return o.name == name; });
            if (!open) {
                keep[i] = false;
                changed = true;
                continue;
            }
            while (stack.back().name != name)
                dropTop(i);
            stack.pop_back();
        }
    }
    bool closeCalendar = false;
    while (!stack.empty()) {
        if (stack.back().name == "VCALENDAR") {
            closeCalendar = true;
            stack.pop_back();
            changed = true;
        } else {
            dropTop(lines.size());
        }
    }
    if (!changed)
        return data;
    QByteArray out;
    out.reserve(data.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (keep[i]) {
            out += lines[i];
            out += '\n';
        }
    }
    if (closeCalendar)
        out += "END:VCALENDAR\r\n";
    return out;
}

// ---- times ------------------------------------------------------------------

// How a component's times are to be read: a zone the file itself describes
// (or libical knows by that name), else a zone named by TZID in the system's
// zone data, else floating (the user's own zone).
struct ZoneSpec {
    icaltimezone *zone = nullptr;
    QTimeZone named;
};

icalcomponent *calendarOf(icalcomponent *comp)
{
    while (comp && icalcomponent_isa(comp) != ICAL_VCALENDAR_COMPONENT)
        comp = icalcomponent_get_parent(comp);
    return comp;
}

ZoneSpec zoneOf(icalcomponent *comp, const icaltimetype &t, icalproperty *prop)
{
    ZoneSpec tz;
    icalparameter *param = prop ? icalproperty_get_first_parameter(prop, ICAL_TZID_PARAMETER) : nullptr;
    const char *tzid = param ? icalparameter_get_tzid(param) : nullptr;
    if (!tzid || !*tzid) {
        tz.zone = const_cast<icaltimezone *>(t.zone);
        if (!tz.zone)
            tz.named = QTimeZone::systemTimeZone();
        return tz;
    }
    // The file's own VTIMEZONE first: it is what the TZID refers to, whatever
    // the name ("W. Europe Standard Time" from other calendar programs).
    if (icalcomponent *calendar = calendarOf(comp)) {
        if (icaltimezone *own = icalcomponent_get_timezone(calendar, tzid)) {
            tz.zone = own;
            return tz;
        }
    }
    // "Europe/Paris", or the same with libical's own TZID prefix.
    if (icaltimezone *builtin = icaltimezone_get_builtin_timezone(tzid))
        tz.zone = builtin;
    else if (icaltimezone *prefixed = icaltimezone_get_builtin_timezone_from_tzid(tzid))
        tz.zone = prefixed;
    else {
        tz.named = QTimeZone(QByteArray(tzid));
        if (!tz.named.isValid())
            tz.named = QTimeZone(QTimeZone::windowsIdToDefaultIanaId(QByteArray(tzid)));
        if (!tz.named.isValid())
            tz.named = QTimeZone::systemTimeZone(); // an unknown name: floating
    }
    return tz;
}

// Whether the fields name a real day and time; libical keeps impossible ones
// ("20251340T256100") as they are, and converting them would invent a date.
bool isRealTime(const icaltimetype &t)
{
    if (t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1)
        return false;
    if (t.day > QDate(t.year, t.month, 1).daysInMonth())
        return false;
    if (t.is_date)
        return true;
    return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 60;
}

// Seconds east of UTC in the zone at a UTC moment.
int offsetAt(const ZoneSpec &tz, qint64 utcSecs)
{
    if (tz.zone) {
        icaltimetype u = icaltime_from_timet_with_zone(time_t(utcSecs), 0, icaltimezone_get_utc_timezone());
        int isDaylight = 0;
        return icaltimezone_get_utc_offset_of_utc_time(tz.zone, &u, &isDaylight);
    }
    return tz.named.offsetFromUtc(QDateTime::fromSecsSinceEpoch(utcSecs, QTimeZone::utc()));
}

// The UTC moment of a wall-clock time in the zone (wall: the wall-clock
// fields counted as if they were UTC). A time the clocks pass twice takes
// the first pass; a time they skip takes the offset in force before the gap.
qint64 resolveWallTime(const ZoneSpec &tz, qint64 wall)
{
    const int before = offsetAt(tz, wall - 86400);
    const int after = offsetAt(tz, wall + 86400);
    std::optional<qint64> best;
    for (int offset : {before, after}) {
        const qint64 utc = wall - offset;
        if (offsetAt(tz, utc) == offset && (!best || utc < *best))
            best = utc;
    }
    return best ? *best : wall - before;
}

QDateTime toDateTime(const icaltimetype &t, const ZoneSpec &tz)
{
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t) || !isRealTime(t))
        return {};
    const QDate date(t.year, t.month, t.day);
    if (t.is_date)
        return QDateTime(date, QTime(0, 0));
    const QTime time(t.hour, t.minute, std::min(t.second, 59));
    if (icaltime_is_utc(t))
        return QDateTime(date, time, QTimeZone::utc());
    const qint64 wall = QDateTime(date, time, QTimeZone::utc()).toSecsSinceEpoch();
    return QDateTime::fromSecsSinceEpoch(resolveWallTime(tz, wall));
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
    return toDateTime(t, zoneOf(comp, t, prop));
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
// overlap [from, to), earliest first, within the query's budget.
void expand(icalcomponent *event, const QDateTime &from, const QDateTime &to, const std::set<qint64> &overridden,
            QueryBudget &budget, const std::function<void(const Occurrence &)> &emitOccurrence)
{
    icalproperty *startProp = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!startProp)
        return;
    const icaltimetype dtstart = icalcomponent_get_dtstart(event);
    const ZoneSpec tz = zoneOf(event, dtstart, startProp);
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
        const QDateTime end = toDateTime(dtend, endProp ? zoneOf(event, dtend, endProp) : tz);
        if (end.isValid()) {
            if (dtstart.is_date)
                days = std::max<qint64>(first.date().daysTo(end.date()), 1);
            else
                seconds = std::max<qint64>(first.secsTo(end), 0);
        }
    }
    auto endOf = [&](const QDateTime &start) { return dtstart.is_date ? start.addDays(days) : start.addSecs(seconds); };
    auto overlaps = [&](const QDateTime &start) {
        const QDateTime end = endOf(start);
        return start < to && (end > from || (start >= from && start == end));
    };
    const int occurrenceCap = budget.occurrenceCap();
    int emitted = 0;
    auto offer = [&](const QDateTime &start) {
        if (!start.isValid() || overridden.count(start.toMSecsSinceEpoch()) || !overlaps(start))
            return;
        emitOccurrence({start, endOf(start)});
        ++emitted;
    };

    icalproperty *rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    icalproperty *rdate = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
    if (!rrule && !rdate) {
        offer(first);
        budget.occurrences -= emitted;
        return;
    }

    std::set<qint64> excluded;
    std::set<QDate> excludedDates;
    for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
        const icaltimetype t = icalproperty_get_exdate(p);
        const QDateTime when = toDateTime(t, zoneOf(event, t, p));
        if (t.is_date && !dtstart.is_date)
            excludedDates.insert(when.date());
        else if (when.isValid())
            excluded.insert(when.toMSecsSinceEpoch());
    }

    // The starts that overlap the window, each once.
    std::vector<QDateTime> starts;
    std::set<qint64> seen;
    auto collect = [&](const QDateTime &start) {
        if (start.isValid() && overlaps(start) && seen.insert(start.toMSecsSinceEpoch()).second)
            starts.push_back(start);
    };
    if (rrule) {
        const icalrecurrencetype rule = icalproperty_get_rrule(rrule);
        icalrecur_iterator *it = icalrecur_iterator_new(rule, dtstart);
        if (it) {
            // Jump close to the window when the rule allows it (not with
            // COUNT), a little early where wall times can repeat.
            const qint64 margin = dtstart.is_date ? 86400 : icaltime_is_utc(dtstart) ? 0 : 7200;
            const QDateTime jump = from.addSecs(-seconds - margin).addDays(-days);
            if (rule.count == 0 && first < jump)
                icalrecur_iterator_set_start(it, toIcal(jump, dtstart, tz));
            // Stop once the window is covered or the event has given enough.
            const int stepCap = budget.stepCap();
            int steps = 0;
            while (steps < stepCap && qsizetype(starts.size()) < occurrenceCap) {
                const icaltimetype t = icalrecur_iterator_next(it);
                ++steps;
                if (icaltime_is_null_time(t))
                    break;
                const QDateTime start = toDateTime(t, tz);
                if (!start.isValid() || start >= to)
                    break;
                collect(start);
            }
            budget.steps -= steps;
            icalrecur_iterator_free(it);
        }
    } else {
        collect(first);
    }
    // (Walking the EXDATEs moved the component's property cursor: start over.)
    for (icalproperty *p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
        const icaltimetype t = icaltime_is_null_time(value.time) ? value.period.start : value.time;
        collect(toDateTime(t, zoneOf(event, t, p)));
    }
    std::stable_sort(starts.begin(), starts.end());
    for (const QDateTime &start : starts) {
        if (emitted >= occurrenceCap)
            break;
        if (!excluded.count(start.toMSecsSinceEpoch()) && !excludedDates.count(start.date()))
            offer(start);
    }
    budget.occurrences -= emitted;
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
    auto changed = [this] { markChanged(); };
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, changed);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, changed);
}

IcsCalendarSource::~IcsCalendarSource()
{
    m_worker.clear();
    m_worker.waitForDone();
    for (auto &[path, file] : m_files) {
        if (file.root)
            icalcomponent_free(file.root);
    }
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
    QStringList watched;
    for (const QString &root : std::as_const(m_roots)) {
        const QDir dir(root);
        if (!dir.exists()) {
            // Seen again once the folder (or one above it) appears.
            QString parent = dir.absolutePath();
            while (!QFileInfo(parent).isDir() && parent != QFileInfo(parent).path())
                parent = QFileInfo(parent).path();
            if (QFileInfo(parent).isDir())
                watched << parent;
            continue;
        }
        watched << dir.absolutePath();
        for (const QString &name : dir.entryList({QStringLiteral("*.ics")}, QDir::Files | QDir::Readable, QDir::Name))
            paths << dir.filePath(name);
        for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const QDir child(dir.filePath(sub));
            watched << child.absolutePath();
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
        int dropped = 0;
        const QByteArray data = withoutUnclosedComponents(f.readAll(), &dropped);
        if (dropped > 0)
            qCWarning(lcPlatform) << "calendar file has" << dropped << "unclosed component(s), skipped:" << path;
        icalcomponent *root = icalparser_parse_string(data.constData());
        File file;
        file.modified = info.lastModified();
        file.size = info.size();
        if (!root) {
            qCWarning(lcPlatform) << "unreadable calendar file:" << path;
            // Written in the last few seconds: likely caught half-written,
            // so read again until its writer has left it alone. A time ahead
            // of the clock is no sign of that; such a file, like any other
            // left unreadable, is kept as it is until it changes.
            const qint64 age = file.modified.secsTo(QDateTime::currentDateTime());
            if (age >= 0 && age < 5)
                markChanged();
            else
                next.emplace(path, file);
            continue;
        }
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
    // Every file found, read or not: one caught half-written changes again
    // when its writer carries on, however long after.
    for (const QString &path : std::as_const(paths))
        watched << QFileInfo(path).absoluteFilePath();
    watched.removeDuplicates();
    m_watchPaths = watched;
}

void IcsCalendarSource::markChanged()
{
    m_changed = true;
    ++m_changes;
}

void IcsCalendarSource::reloadIfChanged()
{
    if (!m_changed.exchange(false))
        return;
    reload();
    QMetaObject::invokeMethod(this, [this, paths = m_watchPaths] { watch(paths); }, Qt::QueuedConnection);
}

void IcsCalendarSource::watch(const QStringList &paths)
{
    const QStringList current = m_watcher.files() + m_watcher.directories();
    QStringList gone;
    for (const QString &path : current) {
        if (!paths.contains(path))
            gone << path;
    }
    QStringList added;
    for (const QString &path : paths) {
        if (!current.contains(path))
            added << path;
    }
    if (!gone.isEmpty())
        m_watcher.removePaths(gone);
    if (!added.isEmpty()) {
        m_watcher.addPaths(added);
        // A change between that reading and now went unseen; a path that
        // cannot be watched comes back here each time, which makes every
        // fetch look again.
        markChanged();
    }
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
    return readEvents(from, to);
}

QList<CalendarEvent> IcsCalendarSource::readEvents(const QDateTime &from, const QDateTime &to) const
{
    QList<CalendarEvent> out;
    QueryBudget budget;
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
                const QDateTime when = toDateTime(t, zoneOf(c, t, rid));
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
                expand(c, from, to, skip, budget, [&](const Occurrence &o) {
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
    return readReminders(dueBefore);
}

QList<CalendarReminder> IcsCalendarSource::readReminders(const std::optional<QDateTime> &dueBefore) const
{
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
    inBackground<QList<CalendarEvent>>(
        [this, from, to] {
            reloadIfChanged();
            return readEvents(from, to);
        },
        std::move(done));
}

void IcsCalendarSource::fetchIncompleteReminders(const std::optional<QDateTime> &dueBefore, RemindersCallback done)
{
    inBackground<std::optional<QList<CalendarReminder>>>(
        [this, dueBefore]() -> std::optional<QList<CalendarReminder>> {
            reloadIfChanged();
            QList<CalendarReminder> list = readReminders(dueBefore);
            const bool readable = std::any_of(m_files.begin(), m_files.end(),
                                              [](const auto &f) { return f.second.hasTasks; });
            if (!readable)
                return std::nullopt;
            return list;
        },
        std::move(done));
}

} // namespace platform
