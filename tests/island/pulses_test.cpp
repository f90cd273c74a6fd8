#include "support/islandtest.h"

#include "services/eyestrainguard.h"
#include "services/systemhudmonitor.h"
#include "services/timerstore.h"

class PulsesTest : public IslandTest {
protected:
    void SetUp() override
    {
        IslandTest::SetUp();
        make();
    }
    static AmbientPulse pulse(AmbientKind kind, const QString &title = QStringLiteral("t"))
    {
        return {kind, title, QStringLiteral("d")};
    }
    // A calendar event starting minutes from now, read in by one tick.
    void eventIn(int minutes)
    {
        fakes->permissionBackend.calendar = platform::IPermissionBackend::CalendarAccess::FullAccess;
        platform::CalendarEvent event;
        event.title = QStringLiteral("Standup");
        event.start = clock.now().addSecs(minutes * 60);
        event.end = event.start.addSecs(1800);
        fakes->calendar.eventList = {event};
        model->tick();
        ASSERT_TRUE(model->nextEvent());
    }
    const SystemHUDPulse volume{SystemHUDKind::volume, 0.5, false};
};

TEST_F(PulsesTest, BluetoothPulseLeavesTheIslandClosedAndEndsAfterItsTime)
{
    fakes->bluetooth.add(QStringLiteral("AA:BB"), QStringLiteral("Buds"), true, true);
    model->bluetoothConnected(QStringLiteral("Buds"));
    EXPECT_EQ(model->state(), NotchState::collapsed);
    ASSERT_TRUE(model->ambient());
    EXPECT_EQ(*model->ambient(),
              (AmbientPulse{AmbientKind::bluetooth, QStringLiteral("Buds"), QStringLiteral("Connected")}));
    EXPECT_EQ(model->bluetoothDevices().size(), 0); // the monitor has not looked yet
    advance(3199);
    EXPECT_TRUE(model->ambient());
    advance(1);
    EXPECT_FALSE(model->ambient());
}

TEST_F(PulsesTest, LowPowerPulseOpensHoverAndClosesItUnlessThePointerIsThere)
{
    model->start();
    fakes->lowPower.set(true);
    EXPECT_EQ(model->state(), NotchState::hover);
    EXPECT_TRUE(model->isLowPower());
    EXPECT_EQ(model->ambient()->title, QStringLiteral("Low Power Mode on"));
    EXPECT_EQ(model->ambient()->detail, QStringLiteral("Your computer is saving energy"));
    EXPECT_EQ(model->showsAmbientOrCamera(), AmbientKind::lowPower);
    advance(3800);
    EXPECT_EQ(model->state(), NotchState::collapsed);
    EXPECT_FALSE(model->ambient());

    pointerInside = true;
    fakes->lowPower.set(false);
    EXPECT_EQ(model->ambient()->detail, QStringLiteral("Back to full power"));
    advance(3800);
    EXPECT_EQ(model->state(), NotchState::hover);
    EXPECT_FALSE(model->ambient());

    // The same value again gives nothing; a change the monitor missed is
    // caught by the next tick.
    model->powerModeChanged(false);
    EXPECT_FALSE(model->ambient());
    fakes->lowPower.enabled = true;
    advance(1000);
    ASSERT_TRUE(model->ambient());
    EXPECT_EQ(model->ambient()->title, QStringLiteral("Low Power Mode on"));
}

TEST_F(PulsesTest, ALaterPulseRunsItsOwnFullTime)
{
    model->showAmbient(pulse(AmbientKind::eyeStrain, QStringLiteral("first")));
    advance(2000);
    model->showAmbient(pulse(AmbientKind::lowPower, QStringLiteral("second")));
    advance(3000);
    ASSERT_TRUE(model->ambient());
    EXPECT_EQ(model->ambient()->title, QStringLiteral("second"));
    advance(800);
    EXPECT_FALSE(model->ambient());
}

TEST_F(PulsesTest, AnAmbientPulseDuringTheHudKeepsTheHudState)
{
    fakes->settings.setShowSystemHUD(true);
    model->handleHUD(volume);
    model->showAmbient(pulse(AmbientKind::eyeStrain));
    EXPECT_EQ(model->state(), NotchState::hud);
    EXPECT_EQ(model->liveActivity(), LiveActivity::time());
}

TEST_F(PulsesTest, HudStaysUpWhilePulsesComeAndEndsAfterTheLast)
{
    fakes->settings.setShowSystemHUD(true);
    for (int i = 0; i < 4; ++i) {
        model->handleHUD({SystemHUDKind::volume, 0.1 * i, false});
        advance(500);
        EXPECT_EQ(model->state(), NotchState::hud);
    }
    const int killsBefore = fakes->mediaKeys.osdKills;
    advance(1000);
    EXPECT_EQ(model->state(), NotchState::hud);
    EXPECT_GE(fakes->mediaKeys.osdKills - killsBefore, 20); // every 40 ms meanwhile
    advance(100);
    EXPECT_EQ(model->state(), NotchState::collapsed);
    EXPECT_FALSE(model->hud());

    pointerInside = true;
    model->handleHUD(volume);
    advance(1600);
    EXPECT_EQ(model->state(), NotchState::hover);
}

TEST_F(PulsesTest, HudIsDroppedWhileOffOrInTheUpdatePanel)
{
    model->handleHUD(volume);
    EXPECT_FALSE(model->hud());
    fakes->settings.setShowSystemHUD(true);
    model->setState(NotchState::update);
    model->handleHUD(volume);
    EXPECT_FALSE(model->hud());
    EXPECT_EQ(model->state(), NotchState::update);
}

TEST_F(PulsesTest, TurningTheHudOffClosesItAtOnce)
{
    fakes->settings.setShowSystemHUD(true);
    EXPECT_TRUE(model->hudMonitor()->isRunning());
    model->handleHUD(volume);
    fakes->settings.setShowSystemHUD(false);
    EXPECT_FALSE(model->hudMonitor()->isRunning());
    EXPECT_EQ(model->state(), NotchState::collapsed);
    EXPECT_FALSE(model->hud());
}

TEST_F(PulsesTest, LiveActivityPrecedence)
{
    EXPECT_EQ(model->liveActivity(), LiveActivity::time());

    eventIn(40);
    EXPECT_EQ(model->liveActivity().kind, LiveActivity::Kind::event);
    eventIn(20);
    EXPECT_EQ(model->liveActivity().kind, LiveActivity::Kind::event);
    eventIn(-10); // already begun
    EXPECT_EQ(model->liveActivity().kind, LiveActivity::Kind::event);

    model->timer()->start();
    EXPECT_EQ(model->liveActivity(), LiveActivity::timer(model->timer()->display()));

    model->showAmbient(pulse(AmbientKind::bluetooth));
    EXPECT_EQ(model->liveActivity(), LiveActivity::time());
}

TEST_F(PulsesTest, LiveActivityIsAnnouncedWhenItChanges)
{
    QSignalSpy spy(model.get(), &NotchViewModel::liveActivityChanged);
    model->tick();
    EXPECT_EQ(spy.count(), 0);
    model->timer()->start();
    EXPECT_EQ(spy.count(), 1);
    advance(1000); // the timer's text moves on
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(PulsesTest, CollapsedSideContent)
{
    EXPECT_FALSE(model->hasCollapsedSideContent());
    fakes->settings.setShowAmbientSmile(true);
    EXPECT_TRUE(model->hasCollapsedSideContent());
    fakes->settings.setShowAmbientSmile(false);

    model->timer()->start();
    EXPECT_TRUE(model->hasCollapsedSideContent());
    model->timer()->pause();
    EXPECT_FALSE(model->hasCollapsedSideContent());

    model->toggleGameMode();
    EXPECT_TRUE(model->hasCollapsedSideContent()); // the toast
    advance(2400);
    EXPECT_FALSE(model->hasCollapsedSideContent());

    // While editing only the preview and the smile count.
    model->setEditingIsland(true);
    model->timer()->start();
    EXPECT_FALSE(model->hasCollapsedSideContent());
    model->setIslandEditPreview(IslandEditPreview::ambient);
    EXPECT_TRUE(model->hasCollapsedSideContent());
}

TEST_F(PulsesTest, PreviewFlagsNeedEditingInTheHangPhase)
{
    QSignalSpy spy(model.get(), &NotchViewModel::previewChanged);
    model->setIslandEditPreview(IslandEditPreview::player);
    EXPECT_FALSE(model->isPreviewingPlayer());
    model->setEditingIsland(true);
    EXPECT_TRUE(model->isPreviewingPlayer());
    EXPECT_FALSE(model->isPreviewingTimer());
    model->setIslandEditPhase(IslandEditPhase::expanded);
    EXPECT_FALSE(model->isPreviewingPlayer());
    model->setIslandEditPhase(IslandEditPhase::hang);
    model->setIslandEditPreview(IslandEditPreview::timer);
    EXPECT_TRUE(model->isPreviewingTimer());
    EXPECT_EQ(spy.count(), 4);
}

TEST_F(PulsesTest, EyeStrainBreakPulseAfterTwentyActiveMinutes)
{
    fakes->settings.setEyeStrainGuard(true);
    fakes->idle.seconds = 1.0;
    for (int i = 0; i < 599; ++i) {
        advance(2000);
        model->tick();
    }
    EXPECT_FALSE(model->ambient());
    advance(2000);
    model->tick();
    ASSERT_TRUE(model->ambient());
    EXPECT_EQ(*model->ambient(), (AmbientPulse{AmbientKind::eyeStrain, QStringLiteral("Give your eyes a break"),
                                               QStringLiteral("Look 20 feet away for 20 seconds")}));
    EXPECT_FALSE(model->eyeStrain()->tooClose()); // no camera running
}
