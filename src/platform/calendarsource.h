#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

namespace platform {

// One occurrence of a calendar event.
struct CalendarEvent {
    QString title;
    QDateTime start;
    QDateTime end;
    bool allDay = false;
    QString calendarName;
    QUrl url;
    QString notes;
    QString location;

    bool operator==(const CalendarEvent &) const = default;
};

// One open task.
struct CalendarReminder {
    QString title;
    std::optional<QDateTime> due;
    QString listName;

    bool operator==(const CalendarReminder &) const = default;
};

class ICalendarSource {
public:
    using RemindersCallback = std::function<void(std::optional<QList<CalendarReminder>>)>;

    virtual ~ICalendarSource() = default;
    // Whether the user's calendars and task lists can be read at all.
    virtual bool eventsReadable() = 0;
    virtual bool remindersReadable() = 0;
    // Occurrences overlapping [from, to), recurring events expanded, in the
    // order the calendars hold them.
    virtual QList<CalendarEvent> events(const QDateTime &from, const QDateTime &to) = 0;
    // The tasks not yet completed whose due date is before dueBefore (all
    // dated ones without a bound), plus every task without a due date. The
    // answer comes later, on the main thread; none when nothing could be read.
    virtual void fetchIncompleteReminders(const std::optional<QDateTime> &dueBefore,
                                          RemindersCallback done) = 0;
};

std::unique_ptr<ICalendarSource> createCalendarSource();

} // namespace platform
