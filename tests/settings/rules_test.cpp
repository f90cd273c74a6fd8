#include "settings/settingstimezones.h"
#include "settings/updatecard.h"
#include "support/updatemanifest.h"

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
