#include "appdelegate.h"
#include "appfixture.h"
#include "fakescreens.h"
#include "islandeditclearance.h"
#include "islandeditcontroller.h"
#include "singleinstance.h"
#include "statusitemcontroller.h"

#include <QCoreApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QUuid>
#include <QWindow>
#include <thread>

class ShellTest : public AppFixture {
protected:
    // The delegate's parts over one plain screen, without a tray icon.
    AppDelegate::Parts delegateParts()
    {
        screens.list = {FakeScreenProvider::plain("main", 0, 0, 1512, 982)};
        AppDelegate::Parts parts;
        parts.defaults = defaults.get();
        parts.settings = &settings();
        parts.window.screens = &screens;
        parts.window.pointer = &pointer;
        parts.window.clock = &clock;
        parts.window.scheduler = scheduler.get();
        parts.withStatusItem = false;
        return parts;
    }
    FakeScreenProvider screens;
    FakePointerLocation pointer;
};

TEST_F(ShellTest, MenuHasTheItemsInOrderWithShortcutsAndCheckMark)
{
    StatusItemController item(&settings());
    QStringList titles;
    for (QAction *a : item.menu()->actions())
        titles << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(titles, QStringList({"Settings…", "Edit on Screen…", "Check for Updates…", "-", "Launch at Login", "-",
                                   "Quit Pavlet"}));
    EXPECT_EQ(item.menu()->actions().at(0)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_EQ(item.menu()->actions().at(6)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(item.menu()->actions().at(4)->isChecked(), settings().launchAtLogin());
}

TEST_F(ShellTest, MenuActionsAreSignalsAndUpdatesOnlyOpenTheSettings)
{
    StatusItemController item(&settings());
    QSignalSpy open(&item, &StatusItemController::openSettingsRequested);
    QSignalSpy edit(&item, &StatusItemController::editIslandRequested);
    QSignalSpy quit(&item, &StatusItemController::quitRequested);
    const auto actions = item.menu()->actions();
    actions.at(0)->trigger();
    actions.at(2)->trigger(); // Check for Updates…
    actions.at(1)->trigger();
    actions.at(6)->trigger();
    EXPECT_EQ(open.count(), 2);
    EXPECT_EQ(edit.count(), 1);
    EXPECT_EQ(quit.count(), 1);
}

TEST_F(ShellTest, LaunchAtLoginFlipsAppliesAndRebuildsTheMenu)
{
    settings().setLaunchAtLogin(false);
    StatusItemController item(&settings());
    item.menu()->actions().at(4)->trigger();
    EXPECT_TRUE(settings().launchAtLogin());
    EXPECT_EQ(loginItem.current, LoginItem::Status::Enabled);
    EXPECT_TRUE(item.menu()->actions().at(4)->isChecked());
    item.toggleLogin();
    EXPECT_FALSE(settings().launchAtLogin());
    EXPECT_FALSE(item.menu()->actions().at(4)->isChecked());
    QCoreApplication::processEvents();
}

TEST_F(ShellTest, ASecondLaunchAsksTheFirstForTheSettingsAndStandsDown)
{
    const QString name = "pavlet-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    SingleInstance first(name);
    ASSERT_TRUE(first.claim());
    QSignalSpy asked(&first, &SingleInstance::openSettingsRequested);

    // The second runs the way a separate process would: blocking, elsewhere.
    bool secondRuns = true;
    std::thread second([&] {
        SingleInstance other(name);
        secondRuns = other.claim(3000);
    });
    EXPECT_TRUE(waitUntil([&] { return asked.count() == 1; }));
    second.join();
    EXPECT_FALSE(secondRuns);
}

TEST_F(ShellTest, AStaleSocketDoesNotStopTheFirstLaunch)
{
    const QString name = "pavlet-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        SingleInstance crashed(name);
        ASSERT_TRUE(crashed.claim());
    }
    SingleInstance next(name);
    EXPECT_TRUE(next.claim(200));
}

TEST_F(ShellTest, EditClearanceRestoresOnlyWhatItPutAway)
{
    FakeWorkspace workspace;
    workspace.list = {{1, 100, "editor", false}, {2, 100, "already away", true}, {3, 200, "terminal", false}};
    IslandEditClearance clearance(&workspace);

    QWindow own, island, shade, away;
    island.setObjectName("NotchPanel");
    shade.setObjectName("island-edit-shade");
    for (QWindow *w : {&own, &island, &shade, &away})
        w->show();
    away.showMinimized();

    clearance.hideOthers({&own, &island, &shade, &away});
    EXPECT_EQ(workspace.minimized, (QList<quint64>{1, 3}));
    EXPECT_EQ(clearance.minimizedOwnCount(), 1);
    EXPECT_TRUE(own.windowStates() & Qt::WindowMinimized);
    EXPECT_FALSE(island.windowStates() & Qt::WindowMinimized);
    EXPECT_FALSE(shade.windowStates() & Qt::WindowMinimized);

    workspace.gone.insert(3); // closed during the edit
    clearance.restore();
    EXPECT_EQ(workspace.restored, QList<quint64>{1});
    EXPECT_FALSE(own.windowStates() & Qt::WindowMinimized);
    EXPECT_TRUE(away.windowStates() & Qt::WindowMinimized);
    EXPECT_TRUE(clearance.hiddenWindows().isEmpty());
}

TEST_F(ShellTest, StartUpShowsTheIslandAndOpensSettingsOnFirstRunOnly)
{
    for (bool setupDone : {false, true}) {
        defaults->setBool("permissionsSetupCompleted", setupDone);
        AppDelegate::Parts parts = delegateParts();
        parts.permissions = permissions.get();
        AppDelegate delegate(parts);
        QSignalSpy opened(&delegate, &AppDelegate::settingsRequested);
        delegate.start();
        EXPECT_TRUE(delegate.notch()->panel()->isVisible());
        EXPECT_EQ(opened.count(), 0); // not during start-up itself
        QCoreApplication::processEvents();
        EXPECT_EQ(opened.count(), setupDone ? 0 : 1);
        delegate.shutdown();
        EXPECT_FALSE(delegate.notch()->panel()->isVisible());
    }
}

TEST_F(ShellTest, EditOnScreenPutsTheIslandInEditModeUntilTheEditEnds)
{
    defaults->setBool("permissionsSetupCompleted", true);
    AppDelegate::Parts parts = delegateParts();
    parts.notifications = &notifications;
    AppDelegate delegate(parts);
    delegate.start();
    ASSERT_TRUE(delegate.islandEditor());

    notifications.post(AppNotifications::BeginIslandEdit);
    QCoreApplication::processEvents();
    EXPECT_TRUE(delegate.islandEditor()->isActive());
    EXPECT_TRUE(delegate.islandEditor()->shade()->isVisible());

    delegate.islandEditor()->finish();
    EXPECT_FALSE(delegate.islandEditor()->controls()->isVisible());
    delegate.beginIslandEdit();
    delegate.shutdown();
    EXPECT_FALSE(delegate.notch()->panel()->isVisible());
}
