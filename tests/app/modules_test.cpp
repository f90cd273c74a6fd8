#include "appfixture.h"

#include <QSignalSpy>

using ModulesTest = AppFixture;

namespace {
QStringList ids(const QList<HomeModule> &modules)
{
    QStringList out;
    for (HomeModule m : modules)
        out << HomeModules::id(m);
    return out;
}
QStringList ids(const QList<ChromeIcon> &icons)
{
    QStringList out;
    for (ChromeIcon i : icons)
        out << ChromeIcons::id(i);
    return out;
}
const QStringList kNonShipped{"awake", "calculator", "calendar", "canvas", "clipboard", "compress", "eyeStrain",
                              "findMy", "gameMode", "micCheck", "mirror", "network", "notes", "quote",
                              "shortcuts", "speedTest", "spotify", "system", "translator", "voice", "youtube"};
} // namespace

TEST_F(ModulesTest, CatalogueIdsAreExactAndOrdered)
{
    EXPECT_EQ(HomeModules::all().size(), 28);
    EXPECT_EQ(ChromeIcons::all().size(), 13);
    EXPECT_EQ(HomeModules::id(HomeModules::all().last()), "canvas");
    EXPECT_FALSE(HomeModules::fromId("Player"));
    EXPECT_FALSE(HomeModules::fromId(" player"));
    EXPECT_EQ(ChromeIcons::symbol(ChromeIcon::gameMode), "lock");
    EXPECT_EQ(HomeModules::symbol(HomeModule::gameMode), "lock.fill");
    int shipped = 0, iconOnly = 0;
    for (HomeModule m : HomeModules::all()) {
        shipped += HomeModules::isShipped(m);
        iconOnly += HomeModules::isIconOnly(m);
        // A module on Home names its card; one in the icon strip has none.
        EXPECT_EQ(HomeModules::card(m).isEmpty(), HomeModules::isIconOnly(m)) << HomeModules::id(m).toStdString();
    }
    EXPECT_EQ(shipped, 7);
    EXPECT_EQ(iconOnly, 9);
}

TEST_F(ModulesTest, FreshInstallHidesEveryNonShippedModuleOnce)
{
    AppSettings &s = settings();
    EXPECT_EQ(s.disabledModules(), kNonShipped.join(','));
    EXPECT_EQ(ids(s.orderedEnabledModules()),
              QStringList({"player", "timer", "clocks", "weather", "bluetooth", "games", "pocket"}));
    EXPECT_TRUE(defaults->boolValue("pavlet.optInModules.v1"));
    EXPECT_TRUE(defaults->boolValue("pavlet.libraryModules.v1"));
    EXPECT_TRUE(defaults->boolValue("pavlet.shippedGames.v1"));

    // The passes never run again: a module turned on stays on.
    s.setModule(HomeModule::calendar, true);
    restart();
    EXPECT_TRUE(settings().isModuleEnabled(HomeModule::calendar));
}

TEST_F(ModulesTest, LaterPassesHideAgainButKeepCanvasWithCredentialsAndShowGames)
{
    // An installation that ran only the first pass, with a user who turned
    // calendar and canvas on and hid games.
    defaults->setBool("pavlet.optInModules.v1", true);
    defaults->setString("disabledModules", "games");
    storeToken("tok");
    AppSettings &s = settings();
    const QSet<QString> disabled = s.disabledModuleIDs();
    EXPECT_TRUE(disabled.contains("calendar"));
    EXPECT_FALSE(disabled.contains("canvas"));
    EXPECT_FALSE(disabled.contains("games"));
}

TEST_F(ModulesTest, OrderParsingSkipsUnknownAndRepeatedIds)
{
    defaults->setString("moduleOrder", "weather,weather,bogus,timer");
    defaults->setString("disabledModules", ",,timer,");
    for (const char *flag : {"pavlet.optInModules.v1", "pavlet.libraryModules.v1", "pavlet.shippedGames.v1"})
        defaults->setBool(flag, true);
    AppSettings &s = settings();
    const QStringList order = ids(s.orderedModules());
    ASSERT_EQ(order.size(), 28);
    EXPECT_EQ(order.mid(0, 5), QStringList({"weather", "timer", "player", "clocks", "calendar"}));
    EXPECT_EQ(order.last(), "canvas");
    EXPECT_EQ(s.disabledModuleIDs(), QSet<QString>({"timer"}));
    EXPECT_FALSE(ids(s.orderedEnabledModules()).contains("timer"));
}

TEST_F(ModulesTest, TogglingAModuleKeepsTheSetSortedAndUnknownIdsKept)
{
    AppSettings &s = settings();
    s.setDisabledModules("zzz,timer");
    QSignalSpy notice(&s, &AppSettings::disabledModulesChanged);
    QSignalSpy lists(&s, &AppSettings::moduleListsChanged);
    s.setModule(HomeModule::player, false);
    EXPECT_EQ(s.disabledModules(), "player,timer,zzz");
    s.setModule(HomeModule::player, true);
    s.setModule(HomeModule::player, true); // already shown: no notice
    EXPECT_EQ(s.disabledModules(), "timer,zzz");
    EXPECT_EQ(notice.count(), 2);
    EXPECT_EQ(lists.count(), 2);
}

TEST_F(ModulesTest, MovingAModuleKeepsHiddenSlotsAndClampsTheDestination)
{
    AppSettings &s = settings();
    QStringList hidden = ids(HomeModules::all());
    for (const char *on : {"player", "timer", "weather"})
        hidden.removeAll(on);
    s.setDisabledModules(hidden.join(','));
    s.setModuleOrder("player,clocks,timer,weather");

    QSignalSpy notice(&s, &AppSettings::moduleOrderChanged);
    QSignalSpy lists(&s, &AppSettings::moduleListsChanged);
    s.moveModule(HomeModule::weather, 0);
    const QStringList order = s.moduleOrder().split(',');
    ASSERT_EQ(order.size(), 28);
    EXPECT_EQ(order.mid(0, 5), QStringList({"weather", "clocks", "player", "timer", "calendar"}));
    EXPECT_EQ(notice.count(), 1);

    s.moveModule(HomeModule::weather, -5); // already first: nothing changes
    s.moveModule(HomeModule::clocks, 1);   // hidden: nothing changes
    EXPECT_EQ(notice.count(), 1);
    EXPECT_EQ(lists.count(), 1);
    s.moveModule(HomeModule::weather, 99);
    EXPECT_EQ(ids(s.orderedEnabledModules()), QStringList({"player", "timer", "weather"}));
    EXPECT_EQ(s.moduleOrder().split(',').indexOf("clocks"), 1); // the hidden slot stayed
}

TEST_F(ModulesTest, ChromeIconsReadTheLegacyIdAndFollowModuleVisibility)
{
    AppSettings &s = settings();
    s.setChromeIconOrder("integrations,games");
    EXPECT_EQ(ids(s.orderedChromeIcons()).mid(0, 4), QStringList({"canvas", "games", "mirror", "findMy"}));
    s.setChromeIconOrder("integrations,canvas");
    EXPECT_EQ(ids(s.orderedChromeIcons()).count("canvas"), 1);
    EXPECT_EQ(ids(s.orderedChromeIcons()).size(), 13);

    // Fresh install: games and pocket are the only visible icons.
    s.setChromeIconOrder("");
    EXPECT_EQ(ids(s.visibleChromeIcons()), QStringList({"games", "pocket"}));
    s.setModule(HomeModule::mirror, true);
    s.moveChromeIcon(ChromeIcon::mirror, 5);
    EXPECT_EQ(ids(s.visibleChromeIcons()), QStringList({"games", "pocket", "mirror"}));
    // Hiding the module hides the icon but keeps its place in the order.
    s.setModule(HomeModule::mirror, false);
    EXPECT_FALSE(ids(s.visibleChromeIcons()).contains("mirror"));
    EXPECT_EQ(s.chromeIconOrder().split(',').indexOf("mirror"), 5);
}

TEST_F(ModulesTest, LibraryAndShippedListsSplitTheCatalogue)
{
    AppSettings &s = settings();
    EXPECT_EQ(s.shippedModules().size(), 7);
    EXPECT_EQ(s.libraryModules().size(), 21);
    EXPECT_TRUE(s.hiddenShippedModules().isEmpty());
    s.setModule(HomeModule::weather, false);
    EXPECT_EQ(ids(s.hiddenShippedModules()), QStringList({"weather"}));
}
