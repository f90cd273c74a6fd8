#pragma once

#include "calendarsource.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <memory>
#include <optional>

class Clock;

// A calendar event or a reminder, as the island and the calendar card show it.
struct NextEvent {
    Q_GADGET
    QML_VALUE_TYPE(nextEvent)
    Q_PROPERTY(QString id READ id)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QDateTime start MEMBER start)
    Q_PROPERTY(QString calendarName MEMBER calendarName)
    Q_PROPERTY(bool isReminder MEMBER isReminder)
    Q_PROPERTY(QUrl joinURL READ joinUrlOrEmpty)
public:
    QString title;
    // An event's start; a reminder's due date, or when it was read.
    QDateTime start;
    QString calendarName;
    bool isReminder = false;
    std::optional<QUrl> joinURL;

    // "e" or "r", "|", the title, "|", the start in seconds since 1970.
    QString id() const;
    // The meeting starts within 30 minutes or began at most 45 minutes ago,
    // and there is a link to join it.
    Q_INVOKABLE bool isJoinable() const;
    bool isJoinableAt(qint64 nowMs) const;

    bool operator==(const NextEvent &) const = default;

private:
    QUrl joinUrlOrEmpty() const { return joinURL.value_or(QUrl()); }
};

// The next timed events of the coming two days and the earliest open
// reminder of the coming week.
class CalendarStore {
public:
    explicit CalendarStore(platform::ICalendarSource *source = nullptr, Clock *clock = nullptr);
    ~CalendarStore();

    bool eventsGranted = false;
    bool remindersGranted = false;
    std::optional<NextEvent> cachedReminder;

    QList<NextEvent> upcomingEvents(int limit);
    // Reads the earliest open reminder into cachedReminder; done runs once it
    // is stored (or dropped, when a newer refresh has started since).
    void refreshReminders(std::function<void()> done = {});

    static std::optional<QUrl> meetingLink(const platform::CalendarEvent &event);
    static bool isMeetingLink(const QUrl &url);
    // Every web address in text, in order.
    static QList<QUrl> findLinks(const QString &text);

private:
    std::unique_ptr<platform::ICalendarSource> m_owned;
    platform::ICalendarSource *m_source;
    Clock *m_clock;
    quint64 m_reminderGeneration = 0;
    // Answers that arrive after the store is gone are dropped.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
