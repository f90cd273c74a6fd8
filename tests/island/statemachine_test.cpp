#include "support/islandtest.h"

#include "core/keycodes.h"
#include "games/action/dinoengine.h"
#include "tools/pocketstore.h"

#include <QFile>
#include "core/userdefaults.h"

class StateMachineTest : public IslandTest {
protected:
    static KeyInput space()
    {
        KeyInput k;
        k.keyCode = KeyCode::Space;
        k.text = QStringLiteral(" ");
        return k;
    }
    void SetUp() override
    {
        IslandTest::SetUp();
        make();
    }
};

TEST_F(StateMachineTest, PointerThatLeavesWithinThirtyMillisecondsOpensNothing)
{
    model->pointerEntered();
    advance(20);
    model->pointerExited();
    advance(1000);
    EXPECT_EQ(model->state(), NotchState::collapsed);
}

TEST_F(StateMachineTest, HoverOpensAfterThirtyMillisecondsAndSurvivesAQuickReturn)
{
    model->pointerEntered();
    advance(29);
    EXPECT_EQ(model->state(), NotchState::collapsed);
    advance(1);
    EXPECT_EQ(model->state(), NotchState::hover);

    model->pointerExited();
    advance(100);
    pointerInside = true;
    model->pointerEntered(); // cancels the pending close; hover stays
    advance(500);
    EXPECT_EQ(model->state(), NotchState::hover);

    pointerInside = false;
    model->pointerExited();
    advance(159);
    EXPECT_EQ(model->state(), NotchState::hover);
    advance(1);
    EXPECT_EQ(model->state(), NotchState::collapsed);
}

TEST_F(StateMachineTest, OnlyAPendingCloseIsVoidedByThePointerResting)
{
    model->pointerEntered();
    EXPECT_EQ(model->pendingHover(), PendingHover::entry);
    model->cancelPendingExit();
    advance(30);
    EXPECT_EQ(model->state(), NotchState::hover);
    EXPECT_EQ(model->pendingHover(), PendingHover::none);

    model->pointerExited();
    EXPECT_EQ(model->pendingHover(), PendingHover::exit);
    model->cancelPendingExit();
    advance(1000);
    EXPECT_EQ(model->state(), NotchState::hover);
}

TEST_F(StateMachineTest, ClosingWaitsForThePointerToStayOut)
{
    model->openHome();
    model->pointerExited();
    pointerInside = true; // the pointer is back before the delay ends
    advance(240);
    EXPECT_EQ(model->state(), NotchState::home);

    pointerInside = false;
    model->pointerExited();
    advance(239);
    EXPECT_EQ(model->state(), NotchState::home);
    advance(1);
    EXPECT_EQ(model->state(), NotchState::collapsed);
}

TEST_F(StateMachineTest, EditingModulesOrTheIslandKeepsThePanelOpen)
{
    model->openHome();
    model->setEditingModules(true);
    model->pointerExited();
    advance(1000);
    EXPECT_EQ(model->state(), NotchState::home);

    model->setEditingIsland(true);
    model->islandClicked();
    model->pointerEntered();
    advance(1000);
    EXPECT_EQ(model->state(), NotchState::home);
}

TEST_F(StateMachineTest, ClicksResolveTwoHundredTwentyMillisecondsAfterTheLast)
{
    struct Case {
        int clicks;
        bool canvasShown;
        NotchState expected;
    };
    const Case cases[] = {
        {1, true, NotchState::home},
        {2, true, NotchState::canvas},
        {3, true, NotchState::canvas},
        {3, false, NotchState::home},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.clicks << " clicks, canvas shown " << c.canvasShown);
        model->collapse();
        c.canvasShown ? show(HomeModule::canvas) : hide(HomeModule::canvas);
        QSignalSpy states(model.get(), &NotchViewModel::stateChanged);
        for (int i = 0; i < c.clicks; ++i) {
            model->islandClicked();
            advance(200);
        }
        EXPECT_EQ(model->state(), NotchState::collapsed);
        advance(20);
        EXPECT_EQ(model->state(), c.expected);
        EXPECT_EQ(states.count(), 1); // opened once, straight to its panel
    }
}

TEST_F(StateMachineTest, ClickOnTheHudClearsItAndOpensHome)
{
    fakes->settings.setShowSystemHUD(true);
    model->handleHUD({SystemHUDKind::volume, 0.5, false});
    ASSERT_EQ(model->state(), NotchState::hud);
    model->islandClicked();
    EXPECT_FALSE(model->hud());
    EXPECT_EQ(model->state(), NotchState::hud);
    advance(220);
    EXPECT_EQ(model->state(), NotchState::home);
}

TEST_F(StateMachineTest, OpenersToggleBackHomeAndHiddenModulesDoNothing)
{
    struct Case {
        void (NotchViewModel::*open)();
        HomeModule module;
        NotchState panel;
    };
    const Case cases[] = {
        {&NotchViewModel::openCanvas, HomeModule::canvas, NotchState::canvas},
        {&NotchViewModel::openCalculator, HomeModule::calculator, NotchState::calculator},
        {&NotchViewModel::openPocketPanel, HomeModule::pocket, NotchState::pocket},
        {&NotchViewModel::openVoice, HomeModule::voice, NotchState::voice},
        {&NotchViewModel::openTranslator, HomeModule::translator, NotchState::translator},
        {&NotchViewModel::openGames, HomeModule::games, NotchState::games},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(HomeModules::id(c.module).toStdString());
        show(c.module);
        model->collapse();
        model->setEditingModules(true);
        (model.get()->*c.open)();
        EXPECT_EQ(model->state(), c.panel);
        EXPECT_FALSE(model->isEditingModules());
        (model.get()->*c.open)();
        EXPECT_EQ(model->state(), NotchState::home);

        hide(c.module);
        model->collapse();
        (model.get()->*c.open)();
        EXPECT_EQ(model->state(), NotchState::collapsed);
    }
}

TEST_F(StateMachineTest, GamesOpenerGoesBackToTheHubWithoutStoppingTheGame)
{
    model->openGame(PavletGame::dino);
    model->handleGameKey(space());
    ASSERT_EQ(model->game<DinoEngine>()->phase(), DinoEngine::Phase::running);

    model->openGames();
    EXPECT_EQ(model->state(), NotchState::games);
    EXPECT_EQ(model->activeGame(), PavletGame::hub);
    EXPECT_EQ(model->game<DinoEngine>()->phase(), DinoEngine::Phase::running);
    model->openGames();
    EXPECT_EQ(model->state(), NotchState::home);
}

TEST_F(StateMachineTest, CollapseEndsEveryPanelActivity)
{
    model->openGame(PavletGame::snake);
    model->setEditingModules(true);
    model->showAmbient({AmbientKind::eyeStrain, QStringLiteral("a"), QStringLiteral("b")});
    model->collapse();
    EXPECT_EQ(model->state(), NotchState::collapsed);
    EXPECT_EQ(model->activeGame(), PavletGame::hub);
    EXPECT_FALSE(model->isEditingModules());
    EXPECT_FALSE(model->ambient());
    EXPECT_EQ(scheduler->pendingCount(), 0);
}

TEST_F(StateMachineTest, DroppedFilesGoToThePocketOnlyWhileItIsShown)
{
    QFile file(tempPath("note.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("hello");
    file.close();
    const QList<QUrl> drop = {QUrl::fromLocalFile(file.fileName())};

    model->setFileDropTargeted(true);
    hide(HomeModule::pocket);
    model->addDroppedFilesToPocket(drop);
    EXPECT_EQ(model->state(), NotchState::collapsed);
    EXPECT_TRUE(model->fileDropTargeted());
    EXPECT_TRUE(model->pocket()->items().isEmpty());

    show(HomeModule::pocket);
    model->addDroppedFilesToPocket({});
    EXPECT_EQ(model->state(), NotchState::collapsed);
    model->addDroppedFilesToPocket(drop);
    EXPECT_EQ(model->state(), NotchState::pocket);
    EXPECT_FALSE(model->fileDropTargeted());
    EXPECT_EQ(model->pocket()->items().size(), 1);
}

TEST_F(StateMachineTest, ChromeIcons)
{
    for (const QString &id : {QStringLiteral("youtube"), QStringLiteral("spotify"), QStringLiteral("compress"),
                             QStringLiteral("micCheck")}) {
        model->collapse();
        model->openChromeIcon(id);
        EXPECT_EQ(model->state(), NotchState::home) << id.toStdString();
    }

    model->openChromeIcon(QStringLiteral("findMy"));
    EXPECT_EQ(model->state(), NotchState::collapsed);
    EXPECT_EQ(fakes->launcher.urls, QList<QUrl>{QUrl(QStringLiteral("findmy://"))});

    model->openChromeIcon(QStringLiteral("gameMode"));
    EXPECT_TRUE(model->gameModeOn());
}

TEST_F(StateMachineTest, MirrorIconShowsWhyTheCameraStaysOff)
{
    defaults->setBool(QStringLiteral("wantCamera"), false);
    model->openChromeIcon(ChromeIcon::mirror);
    ASSERT_TRUE(model->ambient());
    EXPECT_EQ(model->ambient()->kind, AmbientKind::mirror);
    EXPECT_EQ(model->ambient()->title, QStringLiteral("Camera is off"));
    EXPECT_EQ(model->ambient()->detail, QStringLiteral("Turn it on in Settings → Permissions"));
    EXPECT_NE(model->state(), NotchState::mirror);
}

TEST_F(StateMachineTest, OpenSettingsPostsThePageAndCollapses)
{
    QSignalSpy posted(&fakes->notifications, &AppNotifications::posted);
    model->openHome();
    model->openSettings(QStringLiteral("library"));
    model->openSettings();
    ASSERT_EQ(posted.count(), 2);
    EXPECT_EQ(posted[0][0].toString(), QStringLiteral("pavletOpenSettings"));
    EXPECT_EQ(posted[0][1].toMap(), (QVariantMap{{QStringLiteral("page"), QStringLiteral("library")}}));
    EXPECT_TRUE(posted[1][1].toMap().isEmpty());
    EXPECT_EQ(model->state(), NotchState::collapsed);
}

TEST_F(StateMachineTest, HidingAModuleLeavesItsPanelForHome)
{
    model->openGame(PavletGame::snake);
    model->handleGameKey(space());
    hide(HomeModule::games);
    EXPECT_EQ(model->state(), NotchState::home);
    EXPECT_EQ(model->activeGame(), PavletGame::hub);
    EXPECT_EQ(scheduler->pendingCount(), 0); // the snake's step timer is gone

    model->openTranslator();
    hide(HomeModule::translator);
    EXPECT_EQ(model->state(), NotchState::home);
}

TEST_F(StateMachineTest, HotKeyPressesWithinThreeTenthsOfASecondToggleOnce)
{
    EXPECT_TRUE(model->gameModeHotkeyPressed());
    advance(200);
    EXPECT_TRUE(model->gameModeHotkeyPressed());
    EXPECT_TRUE(model->gameModeOn());
    EXPECT_TRUE(defaults->boolValue(NotchViewModel::GameModeKey, false));
    advance(100);
    EXPECT_TRUE(model->gameModeHotkeyPressed());
    EXPECT_FALSE(model->gameModeOn());

    hide(HomeModule::gameMode);
    advance(1000);
    EXPECT_FALSE(model->gameModeHotkeyPressed());
    EXPECT_FALSE(model->gameModeOn());
}

TEST_F(StateMachineTest, TogglingGameModeClosesTheIslandAndShowsTheToastForItsFullTime)
{
    model->openHome();
    model->toggleGameMode();
    EXPECT_EQ(model->state(), NotchState::collapsed);
    EXPECT_TRUE(model->gameModeToast());
    advance(2000);
    model->toggleGameMode();
    advance(2000);
    EXPECT_TRUE(model->gameModeToast()); // restarted by the second toggle
    advance(400);
    EXPECT_FALSE(model->gameModeToast());
}

TEST_F(StateMachineTest, TheLockTurnsHoverIntoWideningAndClicksIntoTheToast)
{
    model->toggleGameMode();
    advance(3000);
    model->pointerEntered();
    advance(100);
    EXPECT_EQ(model->state(), NotchState::collapsed);
    EXPECT_TRUE(model->gameModeHover());
    EXPECT_TRUE(model->hasCollapsedSideContent());

    model->islandClicked();
    advance(300);
    EXPECT_EQ(model->state(), NotchState::collapsed);
    EXPECT_TRUE(model->gameModeToast());

    model->pointerExited();
    EXPECT_FALSE(model->gameModeHover());
}
