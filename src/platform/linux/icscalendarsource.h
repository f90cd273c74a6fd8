#pragma once

#include "platform/calendarsource.h"

#include <QFileSystemWatcher>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <map>

typedef struct icalcomponent_impl icalcomponent;

namespace platform {

// Calendars and task lists kept as iCalendar files: Evolution's local
// calendars and tasks (<root>/<source id>/calendar.ics, tasks.ics) and any
// other .ics kept in those folders. Parsed files are kept until they change
// on disk. The fetches read and expand the files on a worker thread of the
// source's own and answer on the main thread; they look at the folders again
// only after the file-system watcher has seen a change there, so a fetch
// every second costs no directory scans. The reading functions below look at
// the folders every time and do the work at once, on the calling thread.
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

    void fetchEvents(const QDateTime &from, const QDateTime &to, EventsCallback done) override;
    void fetchIncompleteReminders(const std::optional<QDateTime> &dueBefore, RemindersCallback done) override;
    quint64 changeCount() const override { return m_changes; }

    // Whether the files hold any events or tasks at all, read now.
    bool eventsReadable();
    bool remindersReadable();
    // Occurrences overlapping [from, to), read now.
    QList<CalendarEvent> events(const QDateTime &from, const QDateTime &to);
    // Open tasks, read now.
    QList<CalendarReminder> reminders(const std::optional<QDateTime> &dueBefore);

private:
    struct File {
        QDateTime modified;
        qint64 size = 0;
        // None for a file that could not be read as it stands.
        icalcomponent *root = nullptr;
        QString calendarName;
        bool hasEvents = false;
        bool hasTasks = false;
    };
    void reload();
    // The next fetch reads the folders again.
    void markChanged();
    // reload() when the watcher has seen a change since the last one; then
    // hands the folders and files to watch to the main thread.
    void reloadIfChanged();
    // Main thread: watches exactly paths.
    void watch(const QStringList &paths);
    QList<CalendarEvent> readEvents(const QDateTime &from, const QDateTime &to) const;
    QList<CalendarReminder> readReminders(const std::optional<QDateTime> &dueBefore) const;
    QString displayName(const QString &filePath, icalcomponent *root) const;

    // Runs work on the worker thread and hands its result to deliver on the
    // main thread, unless the source is gone by then.
    template<typename Result>
    void inBackground(std::function<Result()> work, std::function<void(Result)> deliver);

    QStringList m_roots;
    QString m_sourcesDir;
    std::map<QString, File> m_files;
    // What the last reload() looked at: the folders, the files, and for a
    // folder that does not exist its nearest existing parent.
    QStringList m_watchPaths;
    QFileSystemWatcher m_watcher;
    std::atomic<bool> m_changed{true};
    std::atomic<quint64> m_changes{0};
    // One worker, so the parsed files are touched by one thread at a time.
    QThreadPool m_worker;
    QMutex m_filesLock;
};

} // namespace platform
