#pragma once

#include "core/recordlistmodel.h"
#include "platform/calendarsource.h"

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
    // The meeting starts within 30 minutes of nowMs or began at most 45
    // minutes before it, and there is a link to join it.
    Q_INVOKABLE bool isJoinableAt(qint64 nowMs) const;

    bool operator==(const NextEvent &) const = default;

private:
    QUrl joinUrlOrEmpty() const { return joinURL.value_or(QUrl()); }
};

// One row of the upcoming events list.
struct UpcomingEvent {
    QString id; // NextEvent::id()
    NextEvent event;
    // Whether the Join button shows, as of the refresh that listed it.
    bool joinable = false;

    enum Role { IdRole = Qt::UserRole, TitleRole, StartRole, CalendarNameRole, JoinURLRole, JoinableRole };
    static QHash<int, QByteArray> roles();
    QVariant roleValue(int role) const;
    bool operator==(const UpcomingEvent &) const = default;
};

using UpcomingEventsModel = RecordListModel<UpcomingEvent>;

// The next timed events of the coming two days and the earliest open
// reminder of the coming week. The source reads off the main thread; each
// refresh publishes its answer when it arrives, unless a newer refresh has
// started since.
class CalendarStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(RecordListModelBase *upcomingEvents READ upcomingEventsModel CONSTANT)
    Q_PROPERTY(bool hasReminder READ hasReminder NOTIFY reminderChanged)
    Q_PROPERTY(NextEvent reminder READ reminder NOTIFY reminderChanged)
public:
    CalendarStore(platform::ICalendarSource *source, Clock *clock, QObject *parent = nullptr);
    ~CalendarStore() override;

    bool eventsGranted = false;
    bool remindersGranted = false;

    // The events of the last refresh, earliest first.
    QList<NextEvent> upcomingEvents() const;
    // See ICalendarSource::changeCount.
    quint64 calendarChanges() const { return m_source ? m_source->changeCount() : 0; }
    UpcomingEventsModel *upcomingEventsModel() const { return m_events; }
    std::optional<NextEvent> cachedReminder() const { return m_reminder; }
    bool hasReminder() const { return m_reminder.has_value(); }
    NextEvent reminder() const { return m_reminder.value_or(NextEvent()); }
    // Whether the event's Join button shows now.
    bool isJoinable(const NextEvent &event) const;

    // Reads the next limit timed events into upcomingEvents(); done runs
    // once they are published (or dropped for a newer refresh).
    void refreshEvents(int limit, std::function<void()> done = {});
    // Reads the earliest open reminder into cachedReminder(); done runs once
    // it is stored (or dropped, when a newer refresh has started since).
    void refreshReminders(std::function<void()> done = {});

    static std::optional<QUrl> meetingLink(const platform::CalendarEvent &event);
    static bool isMeetingLink(const QUrl &url);
    // Every web address in text, in order.
    static QList<QUrl> findLinks(const QString &text);

signals:
    void reminderChanged();

private:
    void publishEvents(QList<platform::CalendarEvent> events, int limit);
    void setReminder(const std::optional<NextEvent> &reminder);

    platform::ICalendarSource *m_source;
    Clock *m_clock;
    UpcomingEventsModel *m_events;
    std::optional<NextEvent> m_reminder;
    quint64 m_eventsGeneration = 0;
    quint64 m_reminderGeneration = 0;
    // Answers that arrive after the store is gone are dropped.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
