#include "fakes/fakecalendarsource.h"
#include "services/calendarstore.h"
#include "support/pavlettest.h"

namespace {

using platform::CalendarEvent;
using platform::CalendarReminder;

class CalendarStoreTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        store.eventsGranted = true;
        store.remindersGranted = true;
    }
    QList<NextEvent> upcoming(int limit)
    {
        store.refreshEvents(limit);
        return store.upcomingEvents();
    }
    QDateTime at(qint64 minutesFromNow) const { return clock.now().addSecs(minutesFromNow * 60); }
    CalendarEvent event(const QString &title, qint64 minutesFromNow, bool allDay = false) const
    {
        CalendarEvent e;
        e.title = title;
        e.start = at(minutesFromNow);
        e.end = at(minutesFromNow + 30);
        e.allDay = allDay;
        e.calendarName = "Work";
        return e;
    }

    FakeCalendarSource source;
    CalendarStore store{&source, &clock};
};

TEST_F(CalendarStoreTest, ListsTimedEventsOfTheNextTwoDaysInOrder)
{
    source.eventList = {event("Late", 2 * 24 * 60 + 1), event("Offsite", 60, true), event("B", 120),
                        event("A", 10), event("C", 120), event("Ongoing", -20)};
    const QList<NextEvent> events = upcoming(10);
    QStringList titles;
    for (const auto &e : events)
        titles << e.title;
    EXPECT_EQ(titles, (QStringList{"Ongoing", "A", "B", "C"}));
    EXPECT_EQ(source.lastTo, clock.now().addDays(2));

    EXPECT_EQ(upcoming(2).size(), 2);
    EXPECT_EQ(upcoming(2).last().title, "A");
    EXPECT_TRUE(upcoming(0).isEmpty());
    store.eventsGranted = false;
    EXPECT_TRUE(upcoming(2).isEmpty());
}

TEST_F(CalendarStoreTest, FillsPlaceholdersAndMeetingLinks)
{
    CalendarEvent e = event("", 5);
    e.calendarName.clear();
    e.url = QUrl("https://intranet.example.com/meetings/42");
    e.notes = "Agenda on the wiki.\nJoin: https://acme.zoom.us/j/987654321?pwd=abc.";
    source.eventList = {e};
    const NextEvent next = upcoming(1).value(0);
    EXPECT_EQ(next.title, "Event");
    EXPECT_EQ(next.calendarName, "Calendar");
    EXPECT_FALSE(next.isReminder);
    EXPECT_EQ(next.joinURL, QUrl("https://acme.zoom.us/j/987654321?pwd=abc"));
}

TEST(MeetingLinkTest, PicksTheFirstMeetingLinkInNotesLocationThenUrl)
{
    CalendarEvent e;
    e.url = QUrl("https://teams.microsoft.com/l/meetup-join/19%3ameeting");
    EXPECT_EQ(CalendarStore::meetingLink(e), e.url) << "the event's own meeting URL wins";

    e.url = QUrl("https://example.com/page");
    e.notes = "Slides: https://example.com/slides then meet.google.com/abc-defg-hij or https://zoom.us/j/1";
    e.location = "https://company.webex.com/meet/x";
    EXPECT_EQ(CalendarStore::meetingLink(e), QUrl("http://meet.google.com/abc-defg-hij"));

    e.notes.clear();
    EXPECT_EQ(CalendarStore::meetingLink(e), QUrl("https://company.webex.com/meet/x"));
    e.location.clear();
    EXPECT_FALSE(CalendarStore::meetingLink(e));
}

TEST(MeetingLinkTest, RecognisesMeetingServices)
{
    const std::pair<const char *, bool> cases[] = {
        {"https://us02web.zoom.us/j/123", true},
        {"https://zoom.com.cn/j/5", true},
        {"https://meet.google.com/abc-defg-hij", true},
        {"https://teams.microsoft.com/l/meetup-join/x", true},
        {"https://teams.live.com/meet/9", true},
        {"https://gov.teams.microsoft.us/l/meetup-join/x", true},
        {"https://dod.teams.microsoft.us/l/meetup-join/x", true},
        {"https://teams.microsoft.us.evil.net/l/x", false},
        {"https://acme.webex.com/acme/j.php?MTID=1", true},
        {"https://zoom.us/j/1", true},
        {"https://ZOOM.US./j/1", true},
        {"https://example.com/page", false},
        {"https://zoomcar.example.com/", false},
        {"https://teams.example.com/", false},
        // Look-alikes: a meeting host inside another name, or only in the path.
        {"https://notzoom.evil.com/j/1", false},
        {"https://evilzoom.us/j/1", false},
        {"https://meet.google.evil.com/x", false},
        {"https://teams.microsoft.com.evil.net/l/x", false},
        {"https://webex.evil.com/x", false},
        {"https://evil.com/zoom.us/j/1", false},
        {"https://redirect.example.com/?to=zoom.us/j/42", false},
        {"https://calendar.example.com/?u=meet.google.com", false},
    };
    for (const auto &[url, meeting] : cases)
        EXPECT_EQ(CalendarStore::isMeetingLink(QUrl(url)), meeting) << url;
}

TEST_F(CalendarStoreTest, JoinableFromHalfAnHourBeforeToThreeQuartersAfter)
{
    NextEvent e;
    e.joinURL = QUrl("https://zoom.us/j/1");
    const std::pair<qint64, bool> cases[] = {{30, true}, {31, false}, {-45, true}, {-46, false}, {0, true}};
    for (const auto &[minutes, joinable] : cases) {
        e.start = at(minutes);
        EXPECT_EQ(store.isJoinable(e), joinable) << minutes << " (by the store's clock, not the system's)";
    }
    e.start = at(5);
    e.joinURL.reset();
    EXPECT_FALSE(store.isJoinable(e));
}

TEST_F(CalendarStoreTest, IdsNameKindTitleAndStart)
{
    NextEvent e;
    e.title = "Standup";
    e.start = QDateTime::fromMSecsSinceEpoch(1767603600000);
    EXPECT_EQ(e.id(), "e|Standup|1767603600.0");
    e.isReminder = true;
    EXPECT_EQ(e.id(), "r|Standup|1767603600.0");
    e.start = QDateTime::fromMSecsSinceEpoch(1767603600250);
    EXPECT_EQ(e.id(), "r|Standup|1767603600.25");
}

TEST_F(CalendarStoreTest, CachesTheEarliestDueReminderWithUndatedOnesLast)
{
    store.refreshReminders();
    ASSERT_EQ(source.pendingFetches.size(), 1u);
    EXPECT_EQ(source.pendingFetches[0].first, clock.now().addDays(7));
    source.answer(0, QList<CalendarReminder>{{"Undated", std::nullopt, "Home"},
                                             {"In three days", at(3 * 24 * 60), "Home"},
                                             {"", at(24 * 60), ""}});
    ASSERT_TRUE(store.cachedReminder());
    EXPECT_EQ(store.cachedReminder()->title, "Reminder");
    EXPECT_EQ(store.cachedReminder()->calendarName, "Reminders");
    EXPECT_EQ(store.cachedReminder()->start, at(24 * 60));
    EXPECT_TRUE(store.cachedReminder()->isReminder);
    EXPECT_FALSE(store.cachedReminder()->joinURL);

    store.refreshReminders();
    clock.advanceMs(5000);
    source.answer(1, QList<CalendarReminder>{{"First undated", std::nullopt, "A"}, {"Second", std::nullopt, "A"}});
    EXPECT_EQ(store.cachedReminder()->title, "First undated");
    EXPECT_EQ(store.cachedReminder()->start, clock.now()) << "undated reminders start when read";

    store.refreshReminders();
    source.answer(2, QList<CalendarReminder>{});
    EXPECT_FALSE(store.cachedReminder());
}

TEST_F(CalendarStoreTest, AnOlderReminderAnswerNeverOverwritesANewerOne)
{
    store.refreshReminders();
    store.refreshReminders();
    source.answer(1, QList<CalendarReminder>{{"Newer", at(60), "L"}});
    source.answer(0, QList<CalendarReminder>{{"Older", at(30), "L"}});
    ASSERT_TRUE(store.cachedReminder());
    EXPECT_EQ(store.cachedReminder()->title, "Newer");

    // Losing access drops the cached reminder and any answer still on its way.
    store.refreshReminders();
    store.remindersGranted = false;
    store.refreshReminders();
    EXPECT_FALSE(store.cachedReminder());
    source.answer(2, QList<CalendarReminder>{{"Late", at(30), "L"}});
    EXPECT_FALSE(store.cachedReminder());
}

TEST_F(CalendarStoreTest, AnswersAfterTheStoreIsGoneAreDropped)
{
    auto doomed = std::make_unique<CalendarStore>(&source, &clock);
    doomed->remindersGranted = true;
    doomed->refreshReminders();
    doomed.reset();
    source.answer(0, QList<CalendarReminder>{{"Late", at(30), "L"}});
    SUCCEED();
}

} // namespace
