#include "platform/linux/icscalendarsource.h"
#include "services/calendarstore.h"
#include "support/islandtest.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QThread>
#include <QFile>
#include <QTimeZone>

namespace {

using platform::CalendarEvent;
using platform::IcsCalendarSource;

const QString Fixtures = QStringLiteral(PAVLET_SOURCE_DIR "/tests/platform/fixtures");

QDateTime utc(int y, int mo, int d, int h = 0, int mi = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone::utc());
}

class IcsSourceTest : public PavletTest {
protected:
    IcsCalendarSource source{{Fixtures + "/evolution/calendar", Fixtures + "/evolution/tasks"},
                             Fixtures + "/sources"};
};

TEST_F(IcsSourceTest, ExpandsRecurrencesHonoursZonesAndOverrides)
{
    const QList<CalendarEvent> events = source.events(utc(2026, 1, 5, 9), utc(2026, 1, 8));
    QStringList seen;
    for (const CalendarEvent &e : events)
        seen << e.title + "@" + e.start.toUTC().toString(Qt::ISODate) + (e.allDay ? " all-day" : "");
    const QString offsite = "Offsite@" + QDateTime(QDate(2026, 1, 5), QTime(0, 0)).toUTC().toString(Qt::ISODate);
    const QString epiphany = "Epiphany@" + QDateTime(QDate(2026, 1, 6), QTime(0, 0)).toUTC().toString(Qt::ISODate);
    EXPECT_EQ(seen, (QStringList{epiphany + " all-day",
                                 // Weekdays at 9:30 New York (UTC-5), the 6th excluded, the 7th moved.
                                 "Standup@2026-01-05T14:30:00Z", "Standup (moved)@2026-01-07T16:00:00Z",
                                 offsite + " all-day", "Berlin call@2026-01-05T14:00:00Z", "Review@2026-01-05T13:00:00Z"}))
        << seen.join("\n").toStdString();

    const CalendarEvent &standup = events[1];
    EXPECT_EQ(standup.calendarName, "Work");
    EXPECT_EQ(standup.end, standup.start.addSecs(15 * 60));
    EXPECT_TRUE(standup.notes.contains("zoom.us/j/123456789"));
    EXPECT_EQ(events[0].calendarName, "holidays");
    EXPECT_EQ(events.last().url, QUrl("https://example.com/review"));
    EXPECT_EQ(events.last().end, utc(2026, 1, 5, 13, 30));

    // Summer time moves the UTC start of the same wall-clock meeting.
    const auto july = source.events(utc(2026, 7, 6), utc(2026, 7, 7));
    ASSERT_EQ(july.size(), 1);
    EXPECT_EQ(july[0].start, utc(2026, 7, 6, 13, 30));
}

TEST_F(IcsSourceTest, FeedsTheStoreWithMeetingLinksAndWithoutAllDayEvents)
{
    clock.setNow(utc(2026, 1, 5, 12));
    CalendarStore store(&source, &clock);
    store.eventsGranted = true;
    bool done = false;
    store.refreshEvents(3, [&] { done = true; });
    EXPECT_FALSE(done) << "the files are read off the main thread";
    ASSERT_TRUE(waitUntil([&] { return done; }));
    const QList<NextEvent> next = store.upcomingEvents();
    ASSERT_EQ(next.size(), 3);
    EXPECT_EQ(store.upcomingEventsModel()->rowCount(), 3);
    EXPECT_EQ(next[0].title, "Review");
    EXPECT_FALSE(next[0].joinURL);
    EXPECT_EQ(next[1].title, "Berlin call");
    EXPECT_EQ(next[1].joinURL, QUrl("https://meet.google.com/abc-defg-hij"));
    EXPECT_EQ(next[2].joinURL, QUrl("https://us02web.zoom.us/j/123456789"));
}

TEST_F(IcsSourceTest, ReadsOpenTasksAsReminders)
{
    EXPECT_TRUE(source.eventsReadable());
    EXPECT_TRUE(source.remindersReadable());
    const auto tasks = source.reminders(utc(2026, 1, 12));
    QStringList titles;
    for (const auto &t : tasks)
        titles << t.title;
    EXPECT_EQ(titles, (QStringList{"Pay rent", "Someday", "Buy milk"}));
    EXPECT_EQ(tasks[0].due, utc(2026, 1, 8, 17));
    EXPECT_FALSE(tasks[1].due);
    EXPECT_EQ(tasks[2].due, QDateTime(QDate(2026, 1, 6), QTime(0, 0)));
    EXPECT_EQ(tasks[0].listName, "Chores");
    EXPECT_EQ(source.reminders(std::nullopt).size(), 4);

    clock.setNow(utc(2026, 1, 5, 12));
    CalendarStore store(&source, &clock);
    store.remindersGranted = true;
    bool done = false;
    store.refreshReminders([&] { done = true; });
    EXPECT_FALSE(done) << "the answer comes later";
    ASSERT_TRUE(waitUntil([&] { return done; }));
    ASSERT_TRUE(store.cachedReminder());
    EXPECT_EQ(store.cachedReminder()->title, "Buy milk");
}

TEST_F(IcsSourceTest, RereadsChangedFilesAndCopesWithMissingFolders)
{
    const QString root = tempPath("calendar");
    QDir().mkpath(root + "/abc123");
    QFile::copy(Fixtures + "/evolution/calendar/holidays.ics", root + "/abc123/calendar.ics");
    QDir().mkpath(tempPath("sources"));
    QFile sourceFile(tempPath("sources/abc123.source"));
    ASSERT_TRUE(sourceFile.open(QIODevice::WriteOnly));
    sourceFile.write("[Data Source]\nDisplayName=Family\n");
    sourceFile.close();

    IcsCalendarSource ics({root, tempPath("nowhere")}, tempPath("sources"));
    auto events = ics.events(utc(2026, 1, 1), utc(2026, 1, 10));
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].calendarName, "Family");
    EXPECT_FALSE(ics.remindersReadable());

    QFile file(root + "/abc123/calendar.ics");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\nUID:x\nSUMMARY:New\n"
               "DTSTART:20260102T100000Z\nEND:VEVENT\nBEGIN:VEVENT\nUID:y\nSUMMARY:Also new\n"
               "DTSTART:20260103T100000Z\nEND:VEVENT\nEND:VCALENDAR\n");
    file.close();
    events = ics.events(utc(2026, 1, 1), utc(2026, 1, 10));
    ASSERT_EQ(events.size(), 2);
    EXPECT_EQ(events[0].title, "New");
    QFile broken(root + "/broken.ics"); // unreadable, dated a day ahead: not one being written
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write("not a calendar\n") && broken.flush());
    broken.setFileTime(QDateTime::currentDateTime().addDays(1), QFileDevice::FileModificationTime);
    const quint64 changes = ics.changeCount();
    ics.events(utc(2026, 1, 1), utc(2026, 1, 10));
    EXPECT_EQ(ics.changeCount(), changes);

    IcsCalendarSource empty({tempPath("nowhere")}, tempPath("nowhere"));
    EXPECT_FALSE(empty.eventsReadable());
    EXPECT_TRUE(empty.events(utc(2026, 1, 1), utc(2026, 1, 10)).isEmpty());
}

// The fetches look at the folders only after a change there: a calendar
// folder created later, a new file in it and a file rewritten in place must
// each show in a later fetch.
TEST_F(IcsSourceTest, FetchesFollowFolderAndFileChanges)
{
    const QString root = tempPath("later/evolution/calendar");
    IcsCalendarSource ics({root}, tempPath("sources"));
    auto fetchTitles = [&] {
        std::optional<QStringList> titles;
        ics.fetchEvents(utc(2026, 1, 1), utc(2026, 1, 10), [&](QList<CalendarEvent> events) {
            QStringList seen;
            for (const CalendarEvent &e : events)
                seen << e.title;
            titles = seen;
        });
        QDeadlineTimer deadline(5000);
        while (!titles && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return titles.value_or(QStringList{QStringLiteral("no answer")});
    };
    auto write = [](const QString &path, const QByteArray &summary) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        file.write("BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\nUID:" + summary + "\nSUMMARY:" + summary
                   + "\nDTSTART:20260102T100000Z\nEND:VEVENT\nEND:VCALENDAR\n");
        return true;
    };
    // Until a change is seen (or the watch is set up), fetches answer from
    // what was read; keep asking until the change shows or time runs out.
    auto fetchUntil = [&](const QStringList &expected) {
        QStringList seen;
        QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired()) {
            seen = fetchTitles();
            if (seen == expected)
                break;
            QThread::msleep(10);
            QCoreApplication::processEvents();
        }
        return seen;
    };

    EXPECT_EQ(fetchTitles(), QStringList());
    ASSERT_TRUE(QDir().mkpath(root + "/abc"));
    ASSERT_TRUE(write(root + "/abc/calendar.ics", "First"));
    EXPECT_EQ(fetchUntil({"First"}), QStringList({"First"}));
    ASSERT_TRUE(write(root + "/abc/calendar.ics", "Rewritten"));
    EXPECT_EQ(fetchUntil({"Rewritten"}), QStringList({"Rewritten"}));
    ASSERT_TRUE(write(root + "/top.ics", "Top"));
    EXPECT_EQ(fetchUntil({"Rewritten", "Top"}), QStringList({"Rewritten", "Top"}));
    ASSERT_TRUE(QFile::remove(root + "/abc/calendar.ics"));
    EXPECT_EQ(fetchUntil({"Top"}), QStringList({"Top"}));
}

// To-dos follow their folder, events asked for or not: deleted, then written
// back, within seconds; the fake clock lags the real one, so that the
// reading every few minutes cannot stand in for following the folder.
class IcsIslandTest : public IslandTest {};
TEST_F(IcsIslandTest, ToDosComeBackWithTheirFolder)
{
    const QString root = tempPath("tasks");
    auto write = [&] {
        QFile f(root + "/system/tasks.ics");
        return QDir().mkpath(root + "/system") && f.open(QIODevice::WriteOnly)
            && f.write("BEGIN:VCALENDAR\nBEGIN:VTODO\nUID:t\nSUMMARY:Milk\nEND:VTODO\nEND:VCALENDAR\n") > 0;
    };
    IcsCalendarSource ics({root}, tempPath("sources"));
    fakes->permissionBackend.reminders = platform::IPermissionBackend::CalendarAccess::FullAccess;
    IslandEnvironment env = fakes->environment();
    env.platform.calendar = &ics;
    services = std::make_unique<IslandServices>(env);
    model = std::make_unique<NotchViewModel>(env, services->parts());
    model->start();
    auto shownWithin30s = [&](bool shown) { // each turn takes at least 5 ms
        return waitUntil([&] { advance(5); return model->nextReminder().has_value() == shown; }, 30000);
    };
    ASSERT_TRUE(write() && shownWithin30s(true));
    ASSERT_TRUE(QDir(root).removeRecursively() && shownWithin30s(false));
    EXPECT_TRUE(write() && shownWithin30s(true));
    model.reset();
}

TEST_F(IcsSourceTest, ExpandsAYearOfADailyEventFromLongAgo)
{
    const QString root = tempPath("daily");
    QDir().mkpath(root);
    QFile file(root + "/daily.ics");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\nUID:d\nSUMMARY:Daily\n"
               "DTSTART:20150301T080000Z\nDTEND:20150301T081500Z\nRRULE:FREQ=DAILY\nEND:VEVENT\n"
               "BEGIN:VEVENT\nUID:c\nSUMMARY:Counted\nDTSTART:20260101T090000Z\nRRULE:FREQ=DAILY;COUNT=3\n"
               "END:VEVENT\nEND:VCALENDAR\n");
    file.close();
    IcsCalendarSource ics({root}, root);
    const auto events = ics.events(utc(2026, 1, 1), utc(2027, 1, 1));
    int daily = 0, counted = 0;
    for (const auto &e : events)
        (e.title == "Daily" ? daily : counted)++;
    EXPECT_EQ(daily, 365);
    EXPECT_EQ(counted, 3);
}

} // namespace

namespace {

QStringList describe(const QList<CalendarEvent> &events)
{
    QStringList seen;
    for (const CalendarEvent &e : events)
        seen << e.title + "@" + e.start.toUTC().toString(Qt::ISODate);
    return seen;
}

TEST_F(IcsSourceTest, SkipsOnlyTheBrokenEventsOfAFile)
{
    IcsCalendarSource ics({Fixtures + "/damaged"}, tempPath("nowhere"));
    EXPECT_TRUE(ics.eventsReadable());
    const QStringList seen = describe(ics.events(utc(2024, 1, 1), utc(2028, 1, 1)));
    // The unclosed events go, and impossible dates are never read as some
    // other real day; everything else stays.
    EXPECT_EQ(seen, (QStringList{"Before the broken one@2026-01-05T10:00:00Z", "After the broken one@2026-01-05T14:00:00Z",
                                 "Last one@2026-01-05T16:00:00Z"}))
        << seen.join("\n").toStdString();
}

TEST_F(IcsSourceTest, TimesFollowTheFilesOwnZoneWhateverItsName)
{
    IcsCalendarSource ics({Fixtures + "/zones"}, tempPath("nowhere"));
    QStringList seen = describe(ics.events(utc(2026, 1, 1), utc(2026, 2, 1)));
    // 10:00 in the file's zone is 09:00 UTC in winter: the 12th is excluded,
    // the 14th added, the 19th moved to the 20th; Tokyo is found by its
    // other name.
    EXPECT_EQ(seen, (QStringList{"Weekly sync@2026-01-05T09:00:00Z", "Weekly sync@2026-01-14T14:00:00Z",
                                 "Weekly sync (moved)@2026-01-20T10:00:00Z", "Tokyo call@2026-01-05T09:00:00Z"}))
        << seen.join("\n").toStdString();

    // 02:30 happens twice when the clocks go back: the first one (still
    // summer time) counts. When they go forward it never happens: the offset
    // from before the gap applies.
    seen = describe(ics.events(utc(2026, 3, 28), utc(2026, 3, 31)) + ics.events(utc(2026, 10, 24), utc(2026, 10, 27)));
    EXPECT_EQ(seen, (QStringList{"In the skipped hour@2026-03-29T01:30:00Z", "In the repeated hour@2026-10-25T00:30:00Z"}))
        << seen.join("\n").toStdString();

    const auto tasks = ics.reminders(std::nullopt);
    ASSERT_EQ(tasks.size(), 1);
    EXPECT_EQ(tasks[0].due, utc(2026, 1, 8, 16));
}

TEST_F(IcsSourceTest, ASmallFileOfRapidRepeatsCannotFloodAQuery)
{
    IcsCalendarSource ics({Fixtures + "/flood"}, tempPath("nowhere"));
    // Sixty events repeating every second: 216,000 occurrences in this hour.
    const QList<CalendarEvent> events = ics.events(utc(2026, 1, 5), utc(2026, 1, 5, 1));
    ASSERT_LT(events.size(), 25000);
    QSet<QString> titles;
    QStringList others;
    for (const CalendarEvent &e : events) {
        titles.insert(e.title);
        if (!e.title.startsWith("Tick"))
            others << e.title + "@" + e.start.toUTC().toString(Qt::ISODate);
    }
    EXPECT_EQ(titles.size(), 62) << "every event still shows";
    // The daily event's extra date equal to a rule date shows once.
    EXPECT_EQ(others, (QStringList{"Planning@2026-01-05T00:30:00Z", "Daily@2026-01-05T00:15:00Z",
                                   "Daily@2026-01-05T00:45:00Z"}))
        << others.join("\n").toStdString();

    // Whichever events the budget cut short, each one's earliest occurrences
    // are there, so the next events are right.
    clock.setNow(utc(2026, 1, 5, 0, 0));
    CalendarStore store(&ics, &clock);
    store.eventsGranted = true;
    bool done = false;
    store.refreshEvents(2, [&] { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done; }));
    const QList<NextEvent> next = store.upcomingEvents();
    ASSERT_EQ(next.size(), 2);
    EXPECT_EQ(next[0].start, utc(2026, 1, 5));
    EXPECT_EQ(next[1].start, utc(2026, 1, 5));
}

} // namespace
