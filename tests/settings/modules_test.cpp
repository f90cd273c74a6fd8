#include "settingsfixture.h"

#include "store/homemodule.h"

namespace {
QStringList ids(const RecordListModel<ModuleCardRow> &model)
{
    QStringList list;
    for (const ModuleCardRow &r : model.rows())
        list << r.id;
    return list;
}

QStringList library()
{
    QStringList list;
    for (HomeModule m : HomeModules::all()) {
        if (!HomeModules::isShipped(m))
            list << HomeModules::id(m);
    }
    return list;
}
} // namespace

class ModulesTest : public SettingsTest {
protected:
    ModulesPresenter &presenter()
    {
        ModulesPresenter &p = *make().modules();
        p.setShown(true);
        return p;
    }
    void hideLibrary() { fakes->settings.setDisabledModules(library().join(',')); }
};

TEST_F(ModulesTest, PagesFollowTheOrderAndTheHiddenSet)
{
    hideLibrary();
    ModulesPresenter &p = presenter();
    const QStringList shipped{"player", "timer", "clocks", "weather", "bluetooth", "games", "pocket"};
    EXPECT_EQ(ids(p.modulesRows()), shipped);
    EXPECT_EQ(ids(p.libraryRows()), library());

    // A shipped module switched off stays on Modules, off, and never reaches the Library.
    p.setOnNotch("weather", false);
    EXPECT_EQ(ids(p.modulesRows()), shipped);
    EXPECT_FALSE(p.modulesRows().rows()[3].onNotch);
    EXPECT_FALSE(ids(p.libraryRows()).contains("weather"));

    // Installing and removing move a card between the pages, in module order.
    fakes->settings.setModuleOrder("canvas,pocket,notes,player");
    fakes->settings.setModule(HomeModule::notes, true);
    EXPECT_EQ(ids(p.modulesRows()).mid(0, 2), (QStringList{"pocket", "player"}));
    EXPECT_EQ(ids(p.modulesRows()).last(), "notes");
    EXPECT_EQ(p.modulesRows().rows().back().kind, ModuleCardRow::Kind::installed);
    EXPECT_EQ(ids(p.libraryRows()).first(), "canvas");
    p.remove("notes");
    EXPECT_TRUE(ids(p.libraryRows()).contains("notes"));
}

TEST_F(ModulesTest, PermissionLineFollowsTheWishAndTheGrant)
{
    ModulesPresenter &p = presenter();
    fakes->permissionBackend.location = platform::IPermissionBackend::LocationAccess::AuthorizedWhenInUse;
    struct Case {
        HomeModule module;
        QString wantKey;
        bool want;
        QString line;
    };
    const Case cases[] = {
        {HomeModule::weather, "wantLocation", false, "Hidden until Location is on in Permissions"},
        {HomeModule::weather, "wantLocation", true, ""},
        {HomeModule::calendar, "wantCalendar", true, "Hidden until Calendar is on in Permissions"},
        {HomeModule::bluetooth, "wantBluetooth", true, ""},
        {HomeModule::bluetooth, "wantBluetooth", false, "Hidden until Bluetooth is on in Permissions"},
        {HomeModule::mirror, "wantCamera", true, "Hidden until Camera is on in Permissions"},
        {HomeModule::notes, "wantCamera", false, ""},
    };
    for (const Case &c : cases) {
        defaults->setBool(c.wantKey, c.want);
        EXPECT_EQ(p.permissionLine(c.module), c.line) << HomeModules::id(c.module).toStdString();
    }
}

TEST_F(ModulesTest, EveryOptionSwitchWritesItsSetting)
{
    ModulesPresenter &p = presenter();
    int total = 0;
    for (HomeModule m : HomeModules::all()) {
        for (const ModuleOption &o : ModulesPresenter::optionsFor(m)) {
            ++total;
            const bool before = p.option(o.property);
            p.setOption(o.property, !before);
            EXPECT_EQ(fakes->settings.property(o.property.toLatin1()).toBool(), !before) << o.title.toStdString();
            EXPECT_EQ(defaults->boolValue(o.property, before), !before) << o.property.toStdString();
        }
    }
    EXPECT_EQ(total, 17);
    // Only option properties are reachable by name.
    p.setOption("launchAtLogin", true);
    EXPECT_FALSE(fakes->settings.launchAtLogin());
    // Chevrons: options or the Canvas form.
    EXPECT_FALSE(p.canExpand("notes"));
    EXPECT_FALSE(p.canExpand("games"));
    EXPECT_TRUE(p.canExpand("canvas"));
    EXPECT_TRUE(p.canExpand("clocks"));
}

TEST_F(ModulesTest, InstallWaitsOneToTwoSecondsOnceAndFinishesAfterThePageIsGone)
{
    EXPECT_EQ(ModulesPresenter::installDelayMs(0), 1000);
    EXPECT_EQ(ModulesPresenter::installDelayMs(std::uint64_t(1) << 52), 1500);
    EXPECT_EQ(ModulesPresenter::installDelayMs(std::uint64_t(1) << 53), 2000);

    hideLibrary();
    ModulesPresenter &p = presenter();
    p.install("canvas");
    p.install("canvas");
    EXPECT_EQ(scheduler->pendingCount(), 1);
    EXPECT_TRUE(p.libraryRows().rows().back().installing);
    scheduler->advance(999);
    EXPECT_FALSE(fakes->settings.isModuleEnabled(HomeModule::canvas));
    scheduler->advance(1001);
    EXPECT_TRUE(fakes->settings.isModuleEnabled(HomeModule::canvas));
    EXPECT_FALSE(p.isInstalling("canvas"));
    EXPECT_EQ(p.modulesRows().rows().back().kind, ModuleCardRow::Kind::installed);
    // The Canvas card on Modules opens with its form, once.
    EXPECT_TRUE(p.takeExpandOnAppear("canvas"));
    EXPECT_FALSE(p.takeExpandOnAppear("canvas"));
    EXPECT_TRUE(p.takeExpandOnAppear("player"));
}

// Only an http(s) address with a host is opened: a bare path would reach the
// desktop's file opener.
TEST_F(ModulesTest, CanvasTokenPageOpensOnlyWebAddresses)
{
    struct Case {
        QString typed;
        QString opened;
    };
    const Case cases[] = {
        {"  https://school.instructure.com/ \n", "https://school.instructure.com/profile/settings"},
        {"https://school.instructure.com//", "https://school.instructure.com//profile/settings"},
        {"http://canvas.local", "http://canvas.local/profile/settings"},
        {"", ""},
        {"/etc", ""},
        {"file:///home", ""},
        {"school.instructure.com", ""},
        // A query or fragment typed with the address stays out of the page's path.
        {"https://school.example.edu?x=1", "https://school.example.edu/profile/settings"},
        {"https://school.example.edu/canvas/#top", "https://school.example.edu/canvas/profile/settings"},
    };
    ModulesPresenter &p = presenter();
    for (const Case &c : cases) {
        fakes->launcher.urls.clear();
        fakes->settings.setCanvasBaseURL(c.typed);
        p.openCanvasTokenPage();
        if (c.opened.isEmpty())
            EXPECT_TRUE(fakes->launcher.urls.isEmpty()) << c.typed.toStdString();
        else
            EXPECT_EQ(fakes->launcher.urls, QList<QUrl>{QUrl(c.opened)}) << c.typed.toStdString();
    }
}

TEST_F(ModulesTest, SavingTheCanvasFormGoesThroughTheSettingsStore)
{
    ModulesPresenter &p = presenter();
    EXPECT_EQ(p.tokenPlaceholder(), "Paste Canvas API token");
    fakes->settings.setCanvasBaseURL("ftp://school.edu");
    fakes->settings.setCanvasTokenDraft("abc");
    p.saveCanvasToken();
    EXPECT_EQ(fakes->settings.canvasStatus(), "School URL must be https://");
    EXPECT_EQ(fakes->settings.canvasTokenDraft(), "abc");

    fakes->settings.setCanvasBaseURL("https://school.instructure.com");
    p.saveCanvasToken();
    ASSERT_TRUE(waitUntil([this] { return fakes->settings.canvasStatus() == "Token saved on this computer"; }));
    EXPECT_TRUE(fakes->settings.canvasTokenDraft().isEmpty());
    EXPECT_TRUE(p.hasStoredToken());
    EXPECT_EQ(p.tokenPlaceholder(), "Token saved. Paste to replace");
}

TEST_F(ModulesTest, GoToLibraryAsksForTheLibraryPage)
{
    ModulesPresenter &p = presenter();
    p.goToLibrary();
    EXPECT_EQ(controller->navigation()->page(), SettingsNavigation::Page::library);
}
