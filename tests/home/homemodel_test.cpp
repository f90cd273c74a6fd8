#include "store/appsettings.h"
#include "services/clipboardstore.h"
#include "home/homemodel.h"
#include "support/islandtest.h"
#include "store/permissioncenter.h"
#include "home/timerrowstate.h"
#include "services/timerstore.h"
#include "media/voicememoengine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The Home panel's model over the island's real model and settings.
class HomeModelTest : public IslandTest {
protected:
    void SetUp() override
    {
        IslandTest::SetUp();
        make();
        home.setModel(model.get());
        home.setParts(homeParts.get());
    }
    static QVariantMap stacked(const QStringList &ids)
    {
        QVariantMap frames;
        double y = 0;
        for (const QString &id : ids) {
            frames.insert(id, QVariantMap{{"y", y}, {"height", 50.0}});
            y += 58;
        }
        return frames;
    }
    HomeModel home;
};

TEST_F(HomeModelTest, ListFollowsSettingsEditModeAndTheClipboard)
{
    showOnly({"player", "games", "clipboard", "pocket", "notes"});
    EXPECT_EQ(home.visibleModules(), QStringList({"player", "clipboard", "notes"}));
    fakes->settings.setClipboardHideEmpty(true);
    EXPECT_EQ(home.visibleModules(), QStringList({"player", "notes"}));
    model->setEditingModules(true);
    EXPECT_EQ(home.visibleModules(), QStringList({"player", "clipboard", "notes"}));
    model->setEditingModules(false);
    fakes->clipboard.setText(QStringLiteral("hello"));
    model->tick();
    EXPECT_EQ(home.visibleModules(), QStringList({"player", "clipboard", "notes"}));

    // The tray offers the hidden shipped modules, games among them.
    EXPECT_EQ(home.trayTitle(), "Add shipped modules");
    home.addModule(QStringLiteral("timer"));
    EXPECT_TRUE(home.visibleModules().contains("timer"));
    home.removeModule(QStringLiteral("notes"));
    EXPECT_FALSE(home.visibleModules().contains("notes"));
}

TEST_F(HomeModelTest, DraggedTileLandsWhereItWasDroppedPastIconOnlyModules)
{
    // games and pocket are on and stand between the cards in the order.
    fakes->settings.setModuleOrder(QStringLiteral("player,games,timer,pocket,clocks"));
    showOnly({"player", "games", "timer", "pocket", "clocks"});
    ASSERT_EQ(home.visibleModules(), QStringList({"player", "timer", "clocks"}));
    const QVariantMap frames = stacked(home.visibleModules());

    // The first tile over the last one: it becomes the last tile.
    EXPECT_TRUE(home.dragModule("player", 130, frames));
    EXPECT_EQ(home.visibleModules(), QStringList({"timer", "clocks", "player"}));
    // Over its own place nothing is written.
    const QString order = fakes->settings.moduleOrder();
    EXPECT_FALSE(home.dragModule("player", 140, stacked(home.visibleModules())));
    EXPECT_FALSE(home.dragModule("player", 112, stacked(home.visibleModules())));
    EXPECT_EQ(fakes->settings.moduleOrder(), order);
    // Back to the top.
    EXPECT_TRUE(home.dragModule("player", -4, stacked(home.visibleModules())));
    EXPECT_EQ(home.visibleModules(), QStringList({"player", "timer", "clocks"}));
    // The icon-only modules keep their order among themselves.
    EXPECT_LT(fakes->settings.orderedEnabledModuleIDs().indexOf("games"),
              fakes->settings.orderedEnabledModuleIDs().indexOf("pocket"));
}

TEST_F(HomeModelTest, GrantsFoundWhileListingAreRecordedAfterwards)
{
    fakes->permissionBackend.location = platform::IPermissionBackend::LocationAccess::AuthorizedWhenInUse;
    showOnly({"weather", "player"});
    EXPECT_EQ(home.visibleModules(), QStringList({"player", "weather"}));
    // Not while the list was being made...
    EXPECT_FALSE(fakes->permissions.storedGrantedSet().contains("location"));
    QCoreApplication::processEvents();
    // ...but right after it.
    EXPECT_TRUE(fakes->permissions.storedGrantedSet().contains("location"));

    // Recorded, then denied: hidden; recorded and undetermined: shown.
    fakes->permissionBackend.location = platform::IPermissionBackend::LocationAccess::Denied;
    fakes->notifications.post(AppNotifications::PermissionsChanged); // lists again
    EXPECT_EQ(home.visibleModules(), QStringList({"player"}));
    fakes->permissionBackend.location = platform::IPermissionBackend::LocationAccess::NotDetermined;
    fakes->notifications.post(AppNotifications::PermissionsChanged);
    EXPECT_EQ(home.visibleModules(), QStringList({"player", "weather"}));
}

TEST_F(HomeModelTest, HeightDeadBandAndScrolling)
{
    home.reportContentHeight(400);
    EXPECT_DOUBLE_EQ(model->homeContentHeight(), 400);
    home.reportContentHeight(401);
    EXPECT_DOUBLE_EQ(model->homeContentHeight(), 400);
    home.reportContentHeight(401.5);
    EXPECT_DOUBLE_EQ(model->homeContentHeight(), 401.5);
    EXPECT_FALSE(home.scrolls());
    home.reportContentHeight(700);
    EXPECT_TRUE(home.scrolls());
    EXPECT_DOUBLE_EQ(home.scrollCap(), 562);
}

TEST_F(HomeModelTest, StripIconsBadgesAndRemoval)
{
    model->setEditingModules(true);
    const QList<ChromeCell> icons = home.chromeIcons();
    ASSERT_FALSE(icons.isEmpty());
    for (const ChromeCell &icon : icons) {
        const bool iconOnly = !QStringList({"youtube", "spotify", "compress", "micCheck"}).contains(icon.id);
        EXPECT_EQ(icon.removable, iconOnly) << icon.id.toStdString();
    }
    home.removeChromeIcon(QStringLiteral("pocket"));
    EXPECT_FALSE(fakes->settings.isModuleEnabled(HomeModule::pocket));
    home.removeChromeIcon(QStringLiteral("youtube"));
    EXPECT_TRUE(fakes->settings.isModuleEnabled(HomeModule::youtube));
}

TEST_F(HomeModelTest, GeneratedPasswordStaysOutOfTheClipboardHistory)
{
    // The generator's alphabet has no digit-free guarantee: a password without
    // one passes the secret test, so only the own-copy mark keeps it out.
    for (int i = 0; i < 20; ++i) {
        model->generatePasswordToClipboard();
        EXPECT_EQ(model->generatedPassword().size(), 16);
        EXPECT_EQ(fakes->clipboard.content, model->generatedPassword());
        model->tick();
        EXPECT_TRUE(model->clipboard().items.isEmpty());
    }
    // A copy by the user afterwards is recorded as usual.
    fakes->clipboard.setText(QStringLiteral("meeting notes"));
    model->tick();
    ASSERT_EQ(model->clipboard().items.size(), 1);
}

TEST_F(HomeModelTest, TimerTypingCommitsOnce)
{
    TimerRowState typing;
    typing.setTimer(model->timer());
    typing.begin();
    ASSERT_TRUE(typing.editing());
    EXPECT_EQ(typing.draft(), model->timer()->display());
    typing.setDraft(QStringLiteral("1:30"));
    typing.commit();
    EXPECT_FALSE(typing.editing());
    EXPECT_DOUBLE_EQ(model->timer()->remaining(), 90);
    // The focus loss that follows Return finds nothing to do.
    typing.setDraft(QStringLiteral("5"));
    typing.commit();
    EXPECT_DOUBLE_EQ(model->timer()->remaining(), 90);

    // A text the parser rejects keeps the time.
    typing.begin();
    typing.setDraft(QStringLiteral("soon"));
    typing.commit();
    EXPECT_DOUBLE_EQ(model->timer()->remaining(), 90);

    // Starting while typing drops the draft; no tap opens the field while running.
    typing.begin();
    typing.setDraft(QStringLiteral("10"));
    model->timer()->start();
    EXPECT_FALSE(typing.editing());
    typing.begin();
    EXPECT_FALSE(typing.editing());
}

TEST_F(HomeModelTest, DeletedMemoGoesToTheTrash)
{
    QTemporaryDir trash;
    const QString folder = fakes->environment().memosFolder;
    QDir().mkpath(folder);
    const QString file = QDir(folder).filePath(QStringLiteral("Idea.m4a"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PAVLET_TEST_DATA "/media/memo.m4a"), file));
    VoiceMemoEngine *voice = model->voice();
    voice->setTrashFolder(trash.path());
    voice->reload();
    ASSERT_EQ(voice->memos().size(), 1);
    voice->deleteMemo(voice->memos().first());
    EXPECT_TRUE(voice->memos().isEmpty());
    EXPECT_FALSE(QFile::exists(file));
    // Restorable: the file and where it came from.
    EXPECT_TRUE(QFile::exists(trash.filePath("files/Idea.m4a")));
    QFile info(trash.filePath("info/Idea.m4a.trashinfo"));
    ASSERT_TRUE(info.open(QIODevice::ReadOnly));
    EXPECT_TRUE(info.readAll().contains("Path=" + QUrl::toPercentEncoding(QFileInfo(file).absoluteFilePath(), "/")));

    // A second file of the same name does not replace the first.
    ASSERT_TRUE(QFile::copy(QStringLiteral(PAVLET_TEST_DATA "/media/memo.m4a"), file));
    voice->reload();
    voice->deleteMemo(voice->memos().first());
    EXPECT_TRUE(QFile::exists(trash.filePath("files/Idea 2.m4a")));
}
