#include "app/appdelegate.h"
#include "app/islandservices.h"
#include "app/islandeditclearance.h"
#include "app/singleinstance.h"
#include "app/statusitemcontroller.h"
#include "appfixture.h"
#include "fakes/fakeactivationpolicy.h"
#include "fakes/fakestatustray.h"
#include "fakes/fakewindowparts.h"
#include "fakes/islandfakes.h"
#include "settings/settingsnavigation.h"

#include <QCoreApplication>
#include <QPainter>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QUuid>
#include <QWindow>
#include <thread>

class ShellTest : public AppFixture {};

TEST_F(ShellTest, MenuHasTheItemsInOrderWithShortcutsAndCheckMark)
{
    StatusItemController item(&settings());
    QStringList titles;
    for (const platform::StatusMenuItem &line : item.menu())
        titles << (line.separator ? QStringLiteral("-") : line.text);
    EXPECT_EQ(titles, QStringList({"Settings…", "Edit on Screen…", "Check for Updates…", "-", "Launch at Login", "-",
                                   "Quit Pavlet"}));
    EXPECT_EQ(item.menu().at(0).shortcut, QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_EQ(item.menu().at(6).shortcut, QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_TRUE(item.menu().at(4).checkable);
    EXPECT_EQ(item.menu().at(4).checked, settings().launchAtLogin());
}

TEST_F(ShellTest, MenuActionsAreSignalsAndUpdatesOnlyOpenTheSettings)
{
    FakeStatusTray tray;
    StatusItemController item(&settings(), &tray);
    QSignalSpy open(&item, &StatusItemController::openSettingsRequested);
    QSignalSpy updates(&item, &StatusItemController::checkForUpdatesRequested);
    QSignalSpy edit(&item, &StatusItemController::editIslandRequested);
    QSignalSpy quit(&item, &StatusItemController::quitRequested);
    // As the desktop reports clicks on the lines; a separator does nothing.
    for (int line : {0, 2, 1, 6, 3, 5, 99})
        emit tray.itemChosen(line);
    EXPECT_EQ(open.count(), 1);
    EXPECT_EQ(updates.count(), 1);
    EXPECT_EQ(edit.count(), 1);
    EXPECT_EQ(quit.count(), 1);
}

TEST_F(ShellTest, LaunchAtLoginFlipsAppliesAndTheTrayGetsTheNewMenu)
{
    settings().setLaunchAtLogin(false);
    FakeStatusTray tray;
    StatusItemController item(&settings(), &tray);
    EXPECT_EQ(tray.shows, 1);
    EXPECT_EQ(tray.toolTip, "Pavlet");
    EXPECT_FALSE(tray.icon.isNull());
    EXPECT_EQ(tray.menu, item.menu());
    emit tray.itemChosen(StatusItemController::LoginLine);
    EXPECT_TRUE(settings().launchAtLogin());
    EXPECT_EQ(loginItem.current, platform::ILoginItem::Status::Enabled);
    EXPECT_TRUE(item.menu().at(4).checked);
    EXPECT_EQ(tray.menu, item.menu()) << "the tray must not keep the old check mark";
    item.toggleLogin();
    EXPECT_FALSE(settings().launchAtLogin());
    EXPECT_FALSE(tray.menu.at(4).checked);
}

TEST_F(ShellTest, TheLoginCheckFollowsTheSettingAndTheIconShowsOnAnyTray)
{
    FakeStatusTray tray;
    settings().setLaunchAtLogin(true);
    StatusItemController item(&settings(), &tray);
    QSignalSpy opening(&item, &StatusItemController::menuOpening);
    // Ticked in the tray, switched off on the General page: the menu says off
    // when it opens, and a click means on.
    settings().setLaunchAtLogin(false);
    emit tray.menuOpening();
    EXPECT_EQ(opening.count(), 1);
    EXPECT_FALSE(tray.menu.at(4).checked);
    emit tray.itemChosen(StatusItemController::LoginLine);
    EXPECT_TRUE(settings().launchAtLogin());
    EXPECT_TRUE(tray.menu.at(4).checked);

    // Drawn at the size of the tray's slot rather than stretched to it: no
    // pixel down its middle steps between its neighbours (a blurred edge).
    for (int side : {16, 22, 24, 32, 40, 48}) {
        const QImage icon = StatusItemController::paintIcon(Qt::black).pixmap(side, side).toImage();
        ASSERT_EQ(icon.size(), QSize(side, side));
        const auto grey = [&](int y) { // over a mid-grey backdrop
            const QRgb p = icon.pixel(side / 2, y);
            return (qGray(p) * qAlpha(p) + 100 * (255 - qAlpha(p))) / 255;
        };
        for (int y = 1; y + 1 < side; ++y)
            EXPECT_FALSE((grey(y - 1) + 12 < grey(y) && grey(y) + 12 < grey(y + 1))
                         || (grey(y - 1) > grey(y) + 12 && grey(y) > grey(y + 1) + 12)) << side << " px, row " << y;
    }

    // Whatever ink the palette gives, the pill stands out on a light tray
    // and on a dark one.
    for (const QColor ink : {QColor(Qt::black), QColor(Qt::white)}) {
        const QImage icon = StatusItemController::paintIcon(ink).pixmap(18, 18).toImage();
        for (const QColor back : {QColor(Qt::white), QColor(0x20, 0x20, 0x20)}) {
            QImage shown(icon.size(), QImage::Format_ARGB32);
            shown.fill(back);
            QPainter p(&shown);
            p.drawImage(0, 0, icon);
            p.end();
            int standingOut = 0;
            for (int y = 0; y < shown.height(); ++y) {
                for (int x = 0; x < shown.width(); ++x)
                    standingOut += std::abs(shown.pixelColor(x, y).lightness() - back.lightness()) > 100;
            }
            EXPECT_GT(standingOut, 20) << ink.name().toStdString() << " on " << back.name().toStdString();
        }
    }
}

TEST_F(ShellTest, ASecondLaunchAsksTheFirstForTheSettingsAndStandsDown)
{
    const QString name = "pavlet-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    SingleInstance first(name);
    ASSERT_EQ(first.claim(), SingleInstance::Claim::thisRuns);
    QSignalSpy asked(&first, &SingleInstance::openSettingsRequested);

    // The second runs the way a separate process would: blocking, elsewhere.
    auto secondRuns = SingleInstance::Claim::thisRuns;
    std::thread second([&] {
        SingleInstance other(name);
        secondRuns = other.claim(3000);
    });
    EXPECT_TRUE(waitUntil([&] { return asked.count() == 1; }));
    second.join();
    EXPECT_EQ(secondRuns, SingleInstance::Claim::otherAnswered);
}

TEST_F(ShellTest, AStaleSocketDoesNotStopTheFirstLaunch)
{
    const QString name = "pavlet-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        SingleInstance crashed(name);
        ASSERT_EQ(crashed.claim(), SingleInstance::Claim::thisRuns);
    }
    SingleInstance next(name);
    EXPECT_EQ(next.claim(200), SingleInstance::Claim::thisRuns);
}

TEST_F(ShellTest, EditClearanceRestoresOnlyWhatItPutAway)
{
    FakeWorkspace workspace;
    workspace.list = {{1, 100, "editor", false}, {2, 100, "already away", true}, {3, 200, "terminal", false},
                      {4, 300, "panel", false, false}, {5, 300, "desktop", false, false}};
    IslandEditClearance clearance(&workspace);

    QWindow own, shade, away;
    NotchPanel island(nullptr);
    shade.setObjectName("island-edit-shade");
    for (QWindow *w : QList<QWindow *>{&own, &island, &shade, &away})
        w->show();
    away.showMinimized();

    clearance.hideOthers(QList<QWindow *>{&own, &island, &shade, &away});
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

namespace {
// The delegate over fakes, with the island's model behind the window.
struct Shell {
    Shell(UserDefaults *defaults, FakeClock &clock, FakeScheduler *scheduler)
        : fakes(defaults, clock, scheduler)
        , services(fakes.environment())
        , model(fakes.environment(), services.parts())
    {
        parts.defaults = defaults;
        parts.settings = &fakes.settings;
        parts.permissions = &fakes.permissions;
        parts.notifications = &fakes.notifications;
        parts.workspace = &workspace;
        parts.activation = &activation;
        parts.window = window.windowParts(&clock, scheduler, &model);
        parts.withStatusItem = false;
    }
    IslandFakes fakes;
    IslandServices services;
    NotchViewModel model;
    FakeWindowParts window;
    FakeWorkspace workspace;
    FakeActivationPolicy activation;
    AppDelegate::Parts parts;
};
} // namespace

TEST_F(ShellTest, StartUpShowsTheIslandAndOpensSettingsOnFirstRunOnly)
{
    for (bool setupDone : {false, true}) {
        defaults->setBool("permissionsSetupCompleted", setupDone);
        Shell shell(defaults.get(), clock, scheduler.get());
        AppDelegate delegate(shell.parts);
        QSignalSpy opened(&delegate, &AppDelegate::settingsRequested);
        delegate.start();
        EXPECT_TRUE(delegate.notch()->panel()->isVisible());
        EXPECT_TRUE(shell.model.isStarted());
        EXPECT_EQ(shell.activation.calls, QStringList{"accessory"});
        EXPECT_EQ(opened.count(), 0); // not during start-up itself
        QCoreApplication::processEvents();
        EXPECT_EQ(opened.count(), setupDone ? 0 : 1);
        EXPECT_EQ(shell.activation.calls.size(), setupDone ? 1 : 3);
        delegate.shutdown();
        EXPECT_FALSE(delegate.notch()->panel()->isVisible());
    }
}

TEST_F(ShellTest, OpenSettingsFindsTheSettingsWindowOrAsksForOne)
{
    defaults->setBool("permissionsSetupCompleted", true);
    Shell shell(defaults.get(), clock, scheduler.get());
    AppDelegate delegate(shell.parts);
    delegate.start();
    QSignalSpy asked(&delegate, &AppDelegate::settingsRequested);

    // Ctrl+, on the island asks for the settings, Ctrl+Q quits (the keys
    // through the X server: ProgramKeys in the journeys); a held one acts
    // once, and with Shift or Alt they are other keys.
    QSignalSpy quit(&delegate, &AppDelegate::quitRequested);
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers, bool autoRepeat = false) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
        QCoreApplication::sendEvent(delegate.notch()->panel(), &event);
    };
    press(Qt::Key_Comma, Qt::ControlModifier);
    press(Qt::Key_Q, Qt::ControlModifier);
    press(Qt::Key_Q, Qt::ControlModifier, true);
    press(Qt::Key_Q, Qt::ControlModifier | Qt::ShiftModifier);
    press(Qt::Key_Comma, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(asked.count(), 0); // once the key's own event is over
    QCoreApplication::processEvents();
    EXPECT_EQ(asked.count(), 1);
    EXPECT_EQ(quit.count(), 1);
    asked.clear();

    // The island is no settings window, nor is a window that takes no keys.
    QWindow passive;
    passive.setTitle("Pavlet");
    passive.setFlag(Qt::WindowDoesNotAcceptFocus);
    passive.show();
    EXPECT_EQ(AppDelegate::findSettingsWindow(), nullptr);
    shell.activation.calls.clear();
    delegate.openSettings();
    EXPECT_EQ(asked.count(), 1);
    EXPECT_EQ(shell.activation.calls, (QStringList{"regular", "activate"}));

    // A minimized one by its name comes back instead of a new one.
    QWindow settings;
    settings.setObjectName("settings");
    settings.resize(760, 520);
    settings.showMinimized();
    EXPECT_EQ(AppDelegate::findSettingsWindow(), &settings);
    delegate.openSettings();
    EXPECT_EQ(asked.count(), 1);
    EXPECT_FALSE(settings.windowStates() & Qt::WindowMinimized);
    EXPECT_TRUE(settings.isVisible());

    // Notices from elsewhere open it too, whatever page they name.
    shell.fakes.notifications.openSettings("no-such-page");
    settings.hide();
    QCoreApplication::processEvents();
    EXPECT_TRUE(settings.isVisible());
}

TEST_F(ShellTest, CheckForUpdatesOpensTheSettingsOnThePageWithTheUpdateCard)
{
    defaults->setBool("permissionsSetupCompleted", true);
    Shell shell(defaults.get(), clock, scheduler.get());
    FakeStatusTray tray;
    shell.parts.tray = &tray;
    shell.parts.withStatusItem = true;
    AppDelegate delegate(shell.parts);
    delegate.start();
    QSignalSpy asked(&delegate, &AppDelegate::settingsRequested);
    // The settings window follows the notice to its page (Modules was last).
    SettingsNavigation navigation(&shell.fakes.notifications);
    navigation.setPage(SettingsNavigation::Page::modules);
    QObject::connect(&shell.fakes.notifications, &AppNotifications::posted, &navigation,
                     [&](const QString &, const QVariantMap &info) { navigation.handleOpenSettings(info); });
    emit tray.itemChosen(StatusItemController::UpdatesLine);
    QCoreApplication::processEvents();
    EXPECT_EQ(asked.count(), 1);
    EXPECT_EQ(navigation.page(), SettingsNavigation::Page::general);
}

TEST_F(ShellTest, IslandEditClearsTheDesktopAndQuitPutsItBackBeforeTheIslandGoes)
{
    defaults->setBool("permissionsSetupCompleted", true);
    Shell shell(defaults.get(), clock, scheduler.get());
    shell.workspace.list = {{7, 300, "browser", false}};
    AppDelegate delegate(shell.parts);
    delegate.start();

    // "Edit on Screen…" and the settings' notice ask the editor to begin.
    QSignalSpy begin(&delegate, &AppDelegate::beginIslandEditRequested);
    delegate.beginIslandEdit();
    shell.fakes.notifications.post(AppNotifications::BeginIslandEdit);
    QCoreApplication::processEvents();
    EXPECT_EQ(begin.count(), 2);

    delegate.islandEditChanged(true);
    EXPECT_TRUE(shell.model.isEditingIsland());
    EXPECT_EQ(shell.workspace.minimized, QList<quint64>{7});

    // The edit ends with no settings window up: back to an accessory.
    shell.activation.calls.clear();
    delegate.islandEditChanged(false);
    EXPECT_EQ(shell.workspace.restored, QList<quint64>{7});
    EXPECT_EQ(shell.activation.calls, QStringList{"accessory"});

    // With the settings window up the program stays an ordinary one.
    QWindow settings;
    settings.setTitle("Pavlet");
    settings.show();
    delegate.islandEditChanged(true);
    shell.activation.calls.clear();
    delegate.islandEditChanged(false);
    EXPECT_TRUE(shell.activation.calls.isEmpty());
    settings.hide();

    // Quitting mid-edit: the editor ends the edit while the island still shows.
    delegate.islandEditChanged(true);
    bool islandShownAtFinish = false;
    QObject::connect(&delegate, &AppDelegate::finishIslandEditRequested, [&] {
        islandShownAtFinish = delegate.notch()->panel()->isVisible();
        delegate.islandEditChanged(false);
    });
    delegate.shutdown();
    EXPECT_TRUE(islandShownAtFinish);
    EXPECT_EQ(shell.workspace.restored, (QList<quint64>{7, 7, 7}));
    EXPECT_FALSE(shell.model.isEditingIsland());
    EXPECT_FALSE(delegate.notch()->panel()->isVisible());
}
