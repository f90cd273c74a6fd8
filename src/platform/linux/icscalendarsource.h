#pragma once

#include "calendarsource.h"

#include <QObject>
#include <QStringList>
#include <map>

typedef struct icalcomponent_impl icalcomponent;

namespace platform {

// Calendars and task lists kept as iCalendar files: Evolution's local
// calendars and tasks (<root>/<source id>/calendar.ics, tasks.ics) and any
// other .ics kept in those folders. Parsed files are kept until they change
// on disk.
class IcsCalendarSource final : public QObject, public ICalendarSource {
    Q_OBJECT
public:
    // roots: folders searched for .ics files, directly and one level down.
    // sourcesDir: where Evolution keeps the calendars' display names.
    explicit IcsCalendarSource(QStringList roots = defaultRoots(), QString sourcesDir = defaultSourcesDir(),
                               QObject *parent = nullptr);
    ~IcsCalendarSource() override;

    static QStringList defaultRoots();
    static QString defaultSourcesDir();

    bool eventsReadable() override;
    bool remindersReadable() override;
    QList<CalendarEvent> events(const QDateTime &from, const QDateTime &to) override;
    void fetchIncompleteReminders(const std::optional<QDateTime> &dueBefore, RemindersCallback done) override;

    // Open tasks, read now.
    QList<CalendarReminder> reminders(const std::optional<QDateTime> &dueBefore);

private:
    struct File {
        QDateTime modified;
        qint64 size = 0;
        icalcomponent *root = nullptr;
        QString calendarName;
        bool hasEvents = false;
        bool hasTasks = false;
    };
    void reload();
    QString displayName(const QString &filePath, icalcomponent *root) const;

    QStringList m_roots;
    QString m_sourcesDir;
    std::map<QString, File> m_files;
};

} // namespace platform
