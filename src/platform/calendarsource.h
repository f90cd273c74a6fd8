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

// The user's calendars and task lists. Reading them may take a while, so
// both fetches answer later, on the main thread, without holding it up.
class ICalendarSource {
public:
    using EventsCallback = std::function<void(QList<CalendarEvent>)>;
    using RemindersCallback = std::function<void(std::optional<QList<CalendarReminder>>)>;

    virtual ~ICalendarSource() = default;
    // Occurrences overlapping [from, to), recurring events expanded, in the
    // order the calendars hold them.
    virtual void fetchEvents(const QDateTime &from, const QDateTime &to, EventsCallback done) = 0;
    // The tasks not yet completed whose due date is before dueBefore (all
    // dated ones without a bound), plus every task without a due date; none
    // when nothing could be read.
    virtual void fetchIncompleteReminders(const std::optional<QDateTime> &dueBefore,
                                          RemindersCallback done) = 0;
    // Grows each time a change to the calendars is seen on disk (or a file
    // is to be read again), so that readers of the to-dos can follow their
    // folder whether or not anyone asks for the events.
    virtual quint64 changeCount() const { return 0; }
};

} // namespace platform
