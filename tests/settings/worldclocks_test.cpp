#include "settingsfixture.h"

TEST_F(SettingsTest, WorldClockEditorAddsRenamesAndRemovesThroughTheStore)
{
    WorldClocksEditorModel &e = *make().worldClocks();
    auto labels = [&e] {
        QStringList l;
        for (const WorldClockRow &r : e.rows().rows())
            l << r.label + (r.removable ? "" : "!");
        return l;
    };
    EXPECT_EQ(labels(), (QStringList{"Pacific", "New York", "London"}));
    EXPECT_FALSE(e.canAdd());
    e.addCity();
    EXPECT_EQ(e.rows().count(), 3);

    const QString first = e.rows().rows()[0].id;
    e.removeCity(first);
    e.removeCity(e.rows().rows()[0].id);
    EXPECT_EQ(labels(), QStringList{"London!"});
    e.removeCity(e.rows().rows()[0].id);
    EXPECT_EQ(e.rows().count(), 1);
    ASSERT_TRUE(e.canAdd());

    e.addCity();
    const WorldClockRow added = e.rows().rows().back();
    EXPECT_EQ(added.label, "City");
    EXPECT_EQ(added.timeZone, "America/New_York");
    e.setLabel(added.id, "Lagos");
    e.setTimeZone(added.id, "Africa/Lagos");
    EXPECT_EQ(e.rows().rows().back().zoneOptions.size(), 14);
    EXPECT_EQ(e.rows().rows().back().roleValue(WorldClockRow::ZoneIndexRole).toInt(), 0);
    e.setTimeZone(added.id, "Europe/Paris");
    EXPECT_EQ(e.rows().rows().back().zoneOptions.size(), 13);

    // What a restart reads back.
    fakes.reset();
    auto store = reopenDefaults();
    const auto decoded = ClockCity::decodeList(store->dataValue("worldClocks"));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), 2);
    EXPECT_EQ(decoded->at(1).label, "Lagos");
    EXPECT_EQ(decoded->at(1).timeZone, "Europe/Paris");
    controller.reset();
}
