#include "services/calendarstore.h"

#include "core/clock.h"
#include "services/doubletext.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>

namespace {

// The meeting services' hosts: an address's host is one of these or ends in
// one of them after a dot (us02web.zoom.us, company.webex.com).
constexpr const char *MeetingHosts[] = {
    "zoom.us",             // Zoom
    "zoom.com",            // Zoom
    "zoom.com.cn",         // Zoom in China
    "zoomgov.com",         // Zoom for government
    "meet.google.com",     // Google Meet
    "teams.microsoft.com", // Microsoft Teams for business
    "teams.live.com",      // Microsoft Teams for home
    "teams.microsoft.us",  // Microsoft Teams for US government (gov., dod.)
    "webex.com",           // Webex
};

} // namespace

QString NextEvent::id() const
{
    const double seconds = double(start.toMSecsSinceEpoch()) / 1000.0;
    return QString(isReminder ? QStringLiteral("r") : QStringLiteral("e")) + QLatin1Char('|') + title
        + QLatin1Char('|') + shortestDoubleText(seconds);
}

bool NextEvent::isJoinableAt(qint64 nowMs) const
{
    if (!joinURL)
        return false;
    const double minutes = double(start.toMSecsSinceEpoch() - nowMs) / 60000.0;
    return minutes <= 30 && minutes >= -45;
}

QHash<int, QByteArray> UpcomingEvent::roles()
{
    return {{IdRole, "eventId"}, {TitleRole, "title"}, {StartRole, "start"}, {CalendarNameRole, "calendarName"},
            {JoinURLRole, "joinURL"}, {JoinableRole, "joinable"}};
}

QVariant UpcomingEvent::roleValue(int role) const
{
    switch (role) {
    case IdRole: return id;
    case TitleRole: return event.title;
    case StartRole: return event.start;
    case CalendarNameRole: return event.calendarName;
    case JoinURLRole: return event.joinURL.value_or(QUrl());
    case JoinableRole: return joinable;
    default: return {};
    }
}

CalendarStore::CalendarStore(platform::ICalendarSource *source, Clock *clock, QObject *parent)
    : QObject(parent)
    , m_source(source)
    , m_clock(clock)
    , m_events(new UpcomingEventsModel(this))
{
}

CalendarStore::~CalendarStore() = default;

bool CalendarStore::isJoinable(const NextEvent &event) const
{
    return event.isJoinableAt(m_clock->nowMs());
}

QList<NextEvent> CalendarStore::upcomingEvents() const
{
    QList<NextEvent> list;
    for (const UpcomingEvent &row : m_events->rows())
        list << row.event;
    return list;
}

void CalendarStore::refreshEvents(int limit, std::function<void()> done)
{
    const quint64 generation = ++m_eventsGeneration;
    const QDateTime now = m_clock->now();
    const QDateTime end = now.addDays(2);
    if (!eventsGranted || limit <= 0 || !end.isValid()) {
        publishEvents({}, 0);
        if (done)
            done();
        return;
    }
    std::weak_ptr<int> alive = m_alive;
    m_source->fetchEvents(now, end, [this, alive, generation, limit, done = std::move(done)](
                                        QList<platform::CalendarEvent> events) {
        if (alive.expired())
            return;
        if (generation == m_eventsGeneration)
            publishEvents(std::move(events), limit);
        if (done)
            done();
    });
}

void CalendarStore::publishEvents(QList<platform::CalendarEvent> events, int limit)
{
    events.removeIf([](const platform::CalendarEvent &e) { return e.allDay; });
    std::stable_sort(events.begin(), events.end(),
                     [](const auto &a, const auto &b) { return a.start < b.start; });
    if (events.size() > limit)
        events.resize(limit);

    QList<NextEvent> result;
    result.reserve(events.size());
    for (const platform::CalendarEvent &e : std::as_const(events)) {
        NextEvent next;
        next.title = e.title.isEmpty() ? QStringLiteral("Event") : e.title;
        next.start = e.start;
        next.calendarName = e.calendarName.isEmpty() ? QStringLiteral("Calendar") : e.calendarName;
        next.joinURL = meetingLink(e);
        result.append(next);
    }
    std::vector<UpcomingEvent> rows;
    rows.reserve(size_t(result.size()));
    for (const NextEvent &e : std::as_const(result))
        rows.push_back(UpcomingEvent{e.id(), e, isJoinable(e)});
    m_events->sync(rows);
}

void CalendarStore::setReminder(const std::optional<NextEvent> &reminder)
{
    if (reminder == m_reminder)
        return;
    m_reminder = reminder;
    emit reminderChanged();
}

void CalendarStore::refreshReminders(std::function<void()> done)
{
    // Only the latest refresh may store its answer: an older one finishing
    // late would otherwise overwrite a newer result.
    const quint64 generation = ++m_reminderGeneration;
    if (!remindersGranted) {
        setReminder(std::nullopt);
        if (done)
            done();
        return;
    }
    const QDateTime dueBefore = m_clock->now().addDays(7);
    std::optional<QDateTime> bound;
    if (dueBefore.isValid())
        bound = dueBefore;
    std::weak_ptr<int> alive = m_alive;
    m_source->fetchIncompleteReminders(bound, [this, alive, generation, done = std::move(done)](
                                                  std::optional<QList<platform::CalendarReminder>> list) {
        if (alive.expired())
            return;
        if (generation != m_reminderGeneration) {
            if (done)
                done();
            return;
        }
        std::optional<NextEvent> result;
        if (list && !list->isEmpty()) {
            const qint64 undated = std::numeric_limits<qint64>::max();
            auto dueKey = [undated](const platform::CalendarReminder &r) {
                return r.due && r.due->isValid() ? r.due->toMSecsSinceEpoch() : undated;
            };
            std::stable_sort(list->begin(), list->end(),
                             [&](const auto &a, const auto &b) { return dueKey(a) < dueKey(b); });
            const platform::CalendarReminder &r = list->front();
            NextEvent next;
            next.title = r.title.isEmpty() ? QStringLiteral("Reminder") : r.title;
            next.start = r.due && r.due->isValid() ? *r.due : m_clock->now();
            next.calendarName = r.listName.isEmpty() ? QStringLiteral("Reminders") : r.listName;
            next.isReminder = true;
            result = next;
        }
        setReminder(result);
        if (done)
            done();
    });
}

std::optional<QUrl> CalendarStore::meetingLink(const platform::CalendarEvent &event)
{
    if (event.url.isValid() && !event.url.isEmpty() && isMeetingLink(event.url))
        return event.url;
    QStringList parts;
    if (!event.notes.isNull())
        parts << event.notes;
    if (!event.location.isNull())
        parts << event.location;
    if (!event.url.isEmpty())
        parts << event.url.toString();
    for (const QUrl &link : findLinks(parts.join(QLatin1Char(' ')))) {
        if (isMeetingLink(link))
            return link;
    }
    return std::nullopt;
}

bool CalendarStore::isMeetingLink(const QUrl &url)
{
    // Only the host counts: a meeting address in the path or the query of
    // another site is not a meeting, nor is a host that merely resembles one.
    QString host = url.host().toLower();
    if (host.endsWith(QLatin1Char('.')))
        host.chop(1);
    for (const char *meetingHost : MeetingHosts) {
        const QLatin1String known(meetingHost);
        if (host == known)
            return true;
        if (host.size() > known.size() && host.endsWith(known) && host.at(host.size() - known.size() - 1) == QLatin1Char('.'))
            return true;
    }
    return false;
}

QList<QUrl> CalendarStore::findLinks(const QString &text)
{
    // Addresses with a scheme, "www." addresses, and bare host names followed
    // by a path ("zoom.us/j/123").
    static const QRegularExpression pattern(
        QStringLiteral(R"((?:\b[a-z][a-z0-9+.-]*://|\bwww\.)[^\s<>"]+|\b(?:[a-z0-9-]+\.)+[a-z]{2,}/[^\s<>"]*)"),
        QRegularExpression::CaseInsensitiveOption);
    QList<QUrl> links;
    auto it = pattern.globalMatch(text);
    while (it.hasNext()) {
        QString candidate = it.next().captured(0);
        // Sentence punctuation and closing brackets are not part of a link.
        while (!candidate.isEmpty() && QStringLiteral(".,;:!?)]}'").contains(candidate.back()))
            candidate.chop(1);
        if (!candidate.contains(QLatin1String("://")))
            candidate.prepend(QLatin1String("http://"));
        const QUrl url(candidate, QUrl::TolerantMode);
        if (url.isValid() && !url.host().isEmpty())
            links.append(url);
    }
    return links;
}
