#include "settingsfixture.h"
#include "settings/clocksample.h"
#include "settings/settingstimezones.h"
#include "settings/updatecardmodel.h"
#include "support/updatemanifest.h"

#include <QTimeZone>
#include <cmath>
#include <gtest/gtest.h>

TEST(UpdateCardTest, EveryStatusGivesItsLineButtonAndLater)
{
    const QString host = QStringLiteral("pavlet.app");
    struct Case {
        UpdateStatus status;
        std::optional<UpdateManifest> latest;
        QString line;
        QString title;
        bool later;
        bool enabled;
    };
    const Case cases[] = {
        {UpdateStatus::idle(), std::nullopt,
         "Check pavlet.app for a newer Pavlet. If one is up, the notch will also offer it after launch.",
         "Check for Updates", false, true},
        {UpdateStatus::checking(), std::nullopt, "Asking pavlet.app\u2026", "Checking\u2026", false, false},
        {UpdateStatus::upToDate(), std::nullopt, "You're on the latest Pavlet.", "Check again", false, true},
        {UpdateStatus::available(), manifest("2.0", "Faster clocks."), "Pavlet 2.0 is ready. Faster clocks.",
         "Download 2.0", true, true},
        {UpdateStatus::available(), manifest("2.0", ""), "Pavlet 2.0 is ready to download.", "Download 2.0", true, true},
        {UpdateStatus::available(), std::nullopt, "Pavlet  is ready to download.", "Download", true, true},
        {UpdateStatus::downloading(0.426), manifest("2.0", ""), "Downloading\u2026 42%", "Downloading\u2026", true, false},
        {UpdateStatus::downloading(1.0), manifest("2.0", ""), "Downloading\u2026 100%", "Downloading\u2026", true, false},
        // A reading that is not a number shows as nothing done yet.
        {UpdateStatus::downloading(std::nan("")), manifest("2.0", ""), "Downloading\u2026 0%", "Downloading\u2026", true, false},
        {UpdateStatus::ready(QUrl::fromLocalFile("/tmp/Pavlet.dmg")), manifest("2.0", ""),
         "The disk image is in Downloads. Open it, drag Pavlet to Applications, then reopen from there.",
         "Open disk image", true, true},
        {UpdateStatus::failed("Download didn't finish"), std::nullopt, "Download didn't finish", "Try again", false, true},
    };
    for (const Case &c : cases) {
        const UpdateCardState s = UpdateCardState::make(c.status, c.latest, host);
        EXPECT_EQ(s.statusLine, c.line);
        EXPECT_EQ(s.primaryTitle, c.title);
        EXPECT_EQ(s.laterVisible, c.later) << c.title.toStdString();
        EXPECT_EQ(s.mainEnabled, c.enabled) << c.title.toStdString();
        EXPECT_EQ(s.showsProgress, c.status.is(UpdateStatus::Kind::downloading));
    }
    EXPECT_DOUBLE_EQ(UpdateCardState::make(UpdateStatus::downloading(0.426), {}, host).fraction, 0.426);
    EXPECT_EQ(UpdateCardModel::footerText(QString()), "Version 0.1");
    EXPECT_EQ(UpdateCardModel::footerText("0.1.2"), "Version 0.1.2");
}

TEST(TimeZonesTest, NotchClockListsTheSystemAndStoredZonesOnceBeforeTheCommonOnes)
{
    const QStringList common = SettingsTimeZones::commonTimeZoneIDs();
    ASSERT_EQ(common.size(), 13);
    struct Case {
        QString system;
        QString stored;
        QStringList head;
    };
    const Case cases[] = {
        {"Europe/London", "", {}},
        {"Africa/Lagos", "Asia/Dubai", {"Africa/Lagos", "Asia/Dubai"}},
        {"Africa/Lagos", "Africa/Lagos", {"Africa/Lagos"}},
        {"Europe/London", "Asia/Tokyo", {}},
    };
    for (const Case &c : cases) {
        const QStringList ids = SettingsTimeZones::notchZoneIdentifiers(c.system, c.stored);
        EXPECT_EQ(ids, c.head + common) << c.system.toStdString() << " " << c.stored.toStdString();
    }
    const QList<ZoneOption> menu = SettingsTimeZones::notchZoneMenu("Europe/London", "");
    ASSERT_EQ(menu.size(), 14);
    EXPECT_EQ(menu[0], (ZoneOption{"Computer", ""}));
    EXPECT_EQ(menu[1], (ZoneOption{"America/Los Angeles", "America/Los_Angeles"}));
}

TEST(TimeZonesTest, WorldClockKeepsAnUnlistedZoneFirstAndVerbatim)
{
    const QList<ZoneOption> unlisted = SettingsTimeZones::worldClockZoneOptions("America/Argentina/Buenos_Aires");
    ASSERT_EQ(unlisted.size(), 14);
    EXPECT_EQ(unlisted[0], (ZoneOption{"America/Argentina/Buenos_Aires", "America/Argentina/Buenos_Aires"}));
    EXPECT_EQ(unlisted[4], (ZoneOption{"America/New York", "America/New_York"}));
    EXPECT_EQ(SettingsTimeZones::worldClockZoneOptions("Europe/Paris").size(), 13);
    // Case matters: a differently written common zone is not the common one.
    EXPECT_EQ(SettingsTimeZones::worldClockZoneOptions("europe/paris").size(), 14);
}

TEST(TimeZonesTest, PickersMapTheirRowsToZonesAndBack)
{
    const SettingsTimeZones zones;
    // The notch clock: the row of a stored zone gives that zone back, and a
    // row past the end leaves the stored zone as it is.
    for (const QString &stored : {QStringLiteral(""), QStringLiteral("Europe/Paris"), QStringLiteral("Antarctica/Troll")}) {
        const int row = zones.notchIndex(stored);
        ASSERT_GE(row, 0) << stored.toStdString();
        EXPECT_EQ(zones.notchValue(stored, row), stored);
        EXPECT_EQ(zones.notchValue(stored, 999), stored);
        EXPECT_EQ(zones.notchValue(stored, -1), stored);
    }
    EXPECT_EQ(zones.notchValue(QString(), 0), QString()); // "Computer"
    // A world clock with an unlisted zone has it on the first row.
    EXPECT_EQ(zones.worldClockValue("America/Argentina/Buenos_Aires", 0), "America/Argentina/Buenos_Aires");
    EXPECT_EQ(zones.worldClockValue("America/Argentina/Buenos_Aires", 4), "America/New_York");
    EXPECT_EQ(zones.worldClockValue("Europe/Paris", 99), "Europe/Paris");
}

TEST_F(SettingsTest, ClockSampleFollowsZoneCycleAndTheMinute)
{
    // Monday 5 January 2026, 17:11:40 UTC.
    clock.setNow(QDateTime(QDate(2026, 1, 5), QTime(17, 11, 40), QTimeZone::utc()));
    AppSettings &s = fakes->settings;
    s.setNotchTimeZone("Europe/London");
    ClockSample sample(&s, &clock, scheduler.get());
    sample.setActive(true);
    EXPECT_EQ(sample.text(), "Mon 5:11 PM");

    struct Step {
        const char *zone;
        bool use24;
        qint64 advanceMs;
        const char *text;
    };
    const Step steps[] = {
        {"Asia/Tokyo", false, 0, "Tue 2:11 AM"},
        {"Asia/Tokyo", true, 0, "Tue 02:11"},
        {"Asia/Tokyo", true, 19000, "Tue 02:11"},  // 17:11:59
        {"Asia/Tokyo", true, 2000, "Tue 02:12"},   // the minute turned over
        {"", true, 60000, nullptr},                // the system's zone
    };
    for (const Step &st : steps) {
        s.setNotchTimeZone(st.zone);
        s.setNotchUse24Hour(st.use24);
        scheduler->advance(st.advanceMs);
        const QString expected = st.text ? QString::fromLatin1(st.text) : s.formatTime(clock.now(), true);
        EXPECT_EQ(sample.text(), expected) << st.zone << " " << st.use24;
    }
    clock.setNowMs(clock.nowMs() - 3600 * 1000); // the system time set back an hour
    scheduler->advance(1000);
    EXPECT_EQ(sample.text(), s.formatTime(clock.now(), true));
}
