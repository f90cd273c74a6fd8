#include "support/islandtest.h"
#include "support/signaltally.h"

#include "core/userdefaults.h"
#include "island/islandmetrics.h"
#include "services/systemhudmonitor.h"
#include "tools/calculatorengine.h"

class StartupTest : public IslandTest {};

TEST_F(StartupTest, AFreshModelHoldsItsStartingValues)
{
    defaults->setBool(NotchViewModel::GameModeKey, true);
    make();
    EXPECT_TRUE(model->gameModeOn());
    EXPECT_EQ(model->state(), NotchState::collapsed);
    EXPECT_EQ(model->notchHeight(), IslandMetrics::plainNotch.height());
    EXPECT_EQ(model->homeContentHeight(), 0);
    EXPECT_EQ(model->activeGame(), PavletGame::hub);
    EXPECT_EQ(model->islandEditPhase(), IslandEditPhase::hang);
    EXPECT_EQ(model->islandEditPreview(), IslandEditPreview::idle);
    EXPECT_FALSE(model->nextEvent() || model->battery() || model->weather() || model->canvasUserName()
                 || model->system() || model->network() || model->nextReminder() || model->ambient() || model->hud());
    EXPECT_TRUE(model->clipboard().items.isEmpty());
    EXPECT_TRUE(model->upcomingEvents().isEmpty());
    EXPECT_TRUE(model->bluetoothDevices().isEmpty());
    EXPECT_TRUE(model->generatedPassword().isEmpty());
    EXPECT_FALSE(model->usesFloatingIsland() || model->isLowPower());
    model->setPointerInsideTest({});
    EXPECT_FALSE(model->isPointerInside());

    // The engines it holds announce their own changes; the model relays none.
    SignalTally tally;
    tally.watch(model.get(), QStringLiteral("model"));
    QSignalSpy display(model->calculator(), &CalculatorEngine::displayChanged);
    model->calculator()->pressDigit(7);
    EXPECT_EQ(display.count(), 1);
    EXPECT_EQ(tally.counts(), (std::map<std::string, int>{}));
}

TEST_F(StartupTest, NothingRunsBeforeStart)
{
    defaults->setBool(NotchViewModel::SetupCompletedKey, true);
    make();
    fakes->lowPower.set(true);
    fakes->bluetooth.add(QStringLiteral("AA"), QStringLiteral("Buds"), true, false);
    fakes->bluetooth.connect(QStringLiteral("AA"));
    advance(60000);
    EXPECT_FALSE(model->isLowPower());
    EXPECT_FALSE(model->ambient());
    EXPECT_EQ(fakes->bluetooth.registrationCount(), 0);
    EXPECT_FALSE(model->system());
    EXPECT_EQ(scheduler->pendingCount(), 0);
}

TEST_F(StartupTest, BluetoothWaitsForThePermissionsSetup)
{
    make();
    model->start();
    EXPECT_EQ(fakes->bluetooth.registrationCount(), 0);
    model->stop();

    defaults->setBool(NotchViewModel::SetupCompletedKey, true);
    make();
    fakes->bluetooth.add(QStringLiteral("AA"), QStringLiteral("Buds"), true, true);
    model->start();
    EXPECT_EQ(fakes->bluetooth.registrationCount(), 2); // any connection, and this device leaving
    fakes->bluetooth.disconnect(QStringLiteral("AA"));
    QCoreApplication::processEvents();
    ASSERT_TRUE(model->ambient());
    EXPECT_EQ(model->ambient()->detail, QStringLiteral("Disconnected"));

    defaults->setBool(QStringLiteral("wantBluetooth"), false);
    model->applyPermissionPreferences();
    EXPECT_EQ(fakes->bluetooth.registrationCount(), 0);
}

TEST_F(StartupTest, StopLeavesNoTaskOrRegistrationBehind)
{
    defaults->setBool(NotchViewModel::SetupCompletedKey, true);
    fakes->settings.setShowSystemHUD(true);
    make();
    model->start();
    model->toggleGameMode();
    model->islandClicked();
    model->showAmbient({AmbientKind::eyeStrain, QStringLiteral("t"), QStringLiteral("d")});
    model->handleHUD({SystemHUDKind::volume, 0.5, false});
    advance(1500);
    model->stop();
    EXPECT_EQ(scheduler->pendingCount(), 0);
    EXPECT_EQ(fakes->bluetooth.registrationCount(), 0);
    EXPECT_FALSE(model->hudMonitor()->isRunning());

    // Notices after stop reach nothing.
    const size_t fetches = fakes->calendar.pendingFetches.size();
    fakes->permissionBackend.reminders = platform::IPermissionBackend::CalendarAccess::FullAccess;
    fakes->notifications.post(AppNotifications::PermissionsChanged);
    QCoreApplication::processEvents();
    EXPECT_EQ(fakes->calendar.pendingFetches.size(), fetches);
}

TEST_F(StartupTest, ASecondStartIsIgnored)
{
    defaults->setBool(NotchViewModel::SetupCompletedKey, true);
    make();
    model->start();
    const int registrations = fakes->bluetooth.registrationCount();
    const int tasks = scheduler->pendingCount();
    model->start();
    EXPECT_EQ(fakes->bluetooth.registrationCount(), registrations);
    EXPECT_EQ(scheduler->pendingCount(), tasks);

    // One permissions notice, one reminders refresh.
    fakes->permissionBackend.reminders = platform::IPermissionBackend::CalendarAccess::FullAccess;
    const size_t fetches = fakes->calendar.pendingFetches.size();
    fakes->notifications.post(AppNotifications::PermissionsChanged);
    QCoreApplication::processEvents();
    EXPECT_EQ(fakes->calendar.pendingFetches.size(), fetches + 1);
}

TEST_F(StartupTest, Greeting)
{
    make();
    struct Case {
        QTime time;
        const char *text;
    };
    const Case cases[] = {
        {QTime(0, 0), "Good morning"},
        {QTime(11, 59), "Good morning"},
        {QTime(12, 0), "Good afternoon"},
        {QTime(16, 59), "Good afternoon"},
        {QTime(17, 0), "Good evening"},
    };
    for (const Case &c : cases) {
        clock.setNow(QDateTime(QDate(2026, 3, 2), c.time));
        EXPECT_EQ(model->greeting(), QString::fromUtf8(c.text)) << c.text;
    }
    EXPECT_EQ(model->canvasFirstName(), QString());
}

TEST_F(StartupTest, CopyingAnEntryMovesItUpWithoutANewEntryOnTheNextPoll)
{
    make();
    fakes->clipboard.copy(QStringLiteral("one"));
    model->tick();
    fakes->clipboard.copy(QStringLiteral("two"));
    model->tick();
    ASSERT_EQ(model->clipboard().items.size(), 2);
    const ClipboardItem one = model->clipboard().items[1];

    model->copyToClipboard(one);
    EXPECT_EQ(fakes->clipboard.content, QStringLiteral("one"));
    ASSERT_EQ(model->clipboard().items.size(), 2);
    EXPECT_EQ(model->clipboard().items[0], one); // same id

    QSignalSpy spy(model.get(), &NotchViewModel::clipboardChanged);
    model->tick();
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(StartupTest, OnlyWebAddressesFromOutsideDataAreOpened)
{
    make();
    struct Case {
        const char *address;
        bool opened;
    };
    const Case cases[] = {
        {"https://zoom.us/j/123", true},
        {"http://meet.example.com/abc", true},
        {"HTTPS://teams.microsoft.com/l/meetup-join/1", true},
        {"file:///home/user/.bashrc", false},
        {"file://host/share/run.desktop", false},
        {"javascript:alert(1)", false},
        {"zoommtg://zoom.us/join?confno=1", false},
        {"smb://server/share", false},
        {"https:///no-host", false},
    };
    for (const Case &c : cases) {
        fakes->launcher.urls.clear();
        NextEvent event;
        event.joinURL = QUrl(QString::fromUtf8(c.address));
        model->joinEvent(event);
        EXPECT_EQ(fakes->launcher.urls.size(), c.opened ? 1 : 0) << c.address;
    }
    NextEvent noLink;
    model->joinEvent(noLink);
    EXPECT_TRUE(fakes->launcher.urls.isEmpty());
}
