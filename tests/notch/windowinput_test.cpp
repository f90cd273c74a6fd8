#include "core/keycodes.h"
#include "fakes/fakewindowparts.h"
#include "notch/notchwindowcontroller.h"
#include "support/islandtest.h"
#include "tools/calculatorengine.h"
#include "tools/pocketstore.h"

#include <QFile>
#include <QKeyEvent>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>

// The island window with the island's model behind it: keys, Escape, drops
// and the island edit switch.
class WindowInputTest : public IslandTest, protected FakeWindowParts {
protected:
    void SetUp() override
    {
        IslandTest::SetUp();
        make();
        controller = std::make_unique<NotchWindowController>(&fakes->settings,
                                                             windowParts(&clock, scheduler.get(), model.get()));
    }
    void TearDown() override
    {
        controller.reset();
        IslandTest::TearDown();
    }

    // A key press as the panel receives it; true when the island used it.
    bool press(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString &text = {})
    {
        QKeyEvent e(QEvent::KeyPress, qtKey, mods, text);
        return controller->handleKeyDown(KeyInput::fromEvent(e));
    }
    KeyInput key(int code, bool ctrl = false, bool alt = false, bool cmd = false, bool shift = false)
    {
        KeyInput k;
        k.keyCode = code;
        k.control = ctrl;
        k.option = alt;
        k.command = cmd;
        k.shift = shift;
        return k;
    }
    void escape()
    {
        ASSERT_TRUE(controller->handleKeyDown(key(KeyCode::Escape)));
        QCoreApplication::processEvents();
    }

    std::unique_ptr<NotchWindowController> controller;
};

TEST_F(WindowInputTest, TheChordTogglesTheLockOnlyWithControlAndOptionAndTheModuleShown)
{
    struct Case {
        bool cmd, shift, moduleShown, used;
    };
    const Case cases[] = {
        {false, false, true, true},
        {false, true, true, true},   // shift does not matter
        {true, false, true, false},  // command makes it another key
        {false, false, false, false}, // the module hidden: the key goes on
    };
    for (const Case &c : cases) {
        fakes->settings.setModule(HomeModule::gameMode, c.moduleShown);
        const bool before = model->gameModeOn();
        clock.advanceMs(1000); // past the chord's debounce
        EXPECT_EQ(controller->handleKeyDown(key(KeyCode::G, true, true, c.cmd, c.shift)), c.used)
            << c.cmd << c.shift << c.moduleShown;
        EXPECT_EQ(model->gameModeOn() != before, c.used) << c.cmd << c.shift << c.moduleShown;
    }
}

TEST_F(WindowInputTest, KeysReachTheGameThenTheCalculatorInTheirStates)
{
    // Not in a game or the calculator: the keys go on.
    model->openHome();
    EXPECT_FALSE(press(Qt::Key_5, Qt::NoModifier, "5"));
    EXPECT_FALSE(press(Qt::Key_Space, Qt::NoModifier, " "));

    model->openCalculator();
    ASSERT_EQ(model->state(), NotchState::calculator);
    EXPECT_TRUE(press(Qt::Key_5, Qt::NoModifier, "5"));
    EXPECT_TRUE(press(Qt::Key_Plus, Qt::NoModifier, "+"));
    EXPECT_TRUE(press(Qt::Key_2, Qt::NoModifier, "2"));
    EXPECT_TRUE(press(Qt::Key_Return, Qt::NoModifier, "\r"));
    EXPECT_EQ(model->calculator()->display(), "7");
    EXPECT_FALSE(press(Qt::Key_5, Qt::ControlModifier, "5")); // a shortcut, not a digit
    // The same through the panel's own key events.
    QKeyEvent nine(QEvent::KeyPress, Qt::Key_9, Qt::NoModifier, "9");
    QCoreApplication::sendEvent(controller->panel(), &nine);
    EXPECT_EQ(model->calculator()->display(), "9");

    model->openGame(PavletGame::dino);
    ASSERT_EQ(model->state(), NotchState::games);
    EXPECT_TRUE(press(Qt::Key_Space, Qt::NoModifier, " "));
    EXPECT_FALSE(press(Qt::Key_5, Qt::NoModifier, "5"));
}

TEST_F(WindowInputTest, EscapeStepsBackOneRuleAtATime)
{
    struct Case {
        const char *name;
        std::function<void()> setUp;
        NotchState state;
        PavletGame game;
    };
    const Case cases[] = {
        {"game page", [&] { model->openGame(PavletGame::dino); }, NotchState::games, PavletGame::hub},
        {"games hub", [&] { model->openGame(PavletGame::hub); }, NotchState::collapsed, PavletGame::hub},
        {"calculator", [&] { model->openCalculator(); }, NotchState::home, PavletGame::hub},
        {"pocket", [&] { model->openPocket(); }, NotchState::home, PavletGame::hub},
        {"translator", [&] { model->openTranslator(); }, NotchState::home, PavletGame::hub},
        {"canvas", [&] { model->openCanvas(); }, NotchState::home, PavletGame::hub},
        {"update", [&] { model->setState(NotchState::update); }, NotchState::collapsed, PavletGame::hub},
        {"home", [&] { model->openHome(); }, NotchState::collapsed, PavletGame::hub},
        {"hover", [&] { model->setState(NotchState::hover); }, NotchState::collapsed, PavletGame::hub},
    };
    for (const Case &c : cases) {
        c.setUp();
        escape();
        EXPECT_EQ(model->state(), c.state) << c.name;
        EXPECT_EQ(model->activeGame(), c.game) << c.name;
    }

    // Editing the Home modules: Escape only ends that.
    model->openHome();
    model->setEditingModules(true);
    escape();
    EXPECT_FALSE(model->isEditingModules());
    EXPECT_EQ(model->state(), NotchState::home);

    // While the island itself is edited, Escape belongs to the editor.
    model->setEditingIsland(true);
    EXPECT_FALSE(controller->handleKeyDown(key(KeyCode::Escape)));
}

TEST_F(WindowInputTest, EscapeInATextFieldOnlyEndsTheTyping)
{
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick\nTextInput { width: 80; height: 20 }", QUrl());
    std::unique_ptr<QQuickItem> field(qobject_cast<QQuickItem *>(component.create()));
    ASSERT_TRUE(field) << component.errorString().toStdString();
    field->setParentItem(controller->panel()->contentItem());
    controller->panel()->show();
    controller->panel()->requestActivate();
    field->forceActiveFocus();
    ASSERT_TRUE(waitUntil([&] { return field->hasActiveFocus(); }));

    model->openTranslator();
    escape();
    EXPECT_FALSE(field->hasActiveFocus());
    EXPECT_EQ(model->state(), NotchState::translator);
    escape();
    EXPECT_EQ(model->state(), NotchState::home);
    field.reset();
}

TEST_F(WindowInputTest, FilesDraggedOnTheIslandGoToThePocketWhileItIsShown)
{
    const QString path = tempPath("notes.txt");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("hello");
    f.close();
    const QList<QUrl> files = {QUrl::fromLocalFile(path)};
    NotchPanel *panel = controller->panel();

    EXPECT_TRUE(panel->dragEnter(files));
    EXPECT_TRUE(model->fileDropTargeted());
    EXPECT_EQ(model->state(), NotchState::pocket);
    panel->dragExit();
    EXPECT_FALSE(model->fileDropTargeted());
    EXPECT_TRUE(panel->drop(files));
    EXPECT_TRUE(waitUntil([&] { return model->pocket()->items().size() == 1; }));

    model->collapse();
    advance(1000);
    hide(HomeModule::pocket);
    panel->dragEnter(files);
    EXPECT_FALSE(model->fileDropTargeted());
    EXPECT_EQ(model->state(), NotchState::collapsed);
    EXPECT_FALSE(panel->drop(files));
}

TEST_F(WindowInputTest, EditingTheIslandStartsFromNonNegativeOffsetsCollapsedAndFollowsThePhase)
{
    AppSettings &settings = fakes->settings;
    settings.setLipOffsetY(-12);
    settings.setExpandedOffsetY(-3);
    settings.setLipOffsetX(-20);
    model->openHome();

    controller->setIslandEditing(true);
    EXPECT_EQ(settings.lipOffsetY(), 0);
    EXPECT_EQ(settings.expandedOffsetY(), 0);
    EXPECT_EQ(settings.lipOffsetX(), -20); // sideways is not off screen
    EXPECT_TRUE(model->isEditingIsland());
    EXPECT_EQ(model->islandEditPhase(), IslandEditPhase::hang);
    EXPECT_EQ(model->islandEditPreview(), IslandEditPreview::idle);
    EXPECT_EQ(model->state(), NotchState::collapsed);
    EXPECT_FALSE(controller->frameDriver()->isAnimating());

    // The editor shows the expanded island, then the hanging one again.
    model->setIslandEditPhase(IslandEditPhase::expanded);
    QCoreApplication::processEvents();
    EXPECT_EQ(model->state(), NotchState::home);
    EXPECT_FALSE(controller->frameDriver()->isAnimating());
    model->setIslandEditPhase(IslandEditPhase::hang);
    QCoreApplication::processEvents();
    EXPECT_EQ(model->state(), NotchState::collapsed);

    controller->setIslandEditing(false);
    QCoreApplication::processEvents();
    EXPECT_FALSE(model->isEditingIsland());
    // The collapsed island does not keep the keyboard the edit gave it.
    EXPECT_TRUE(controller->panel()->flags() & Qt::WindowDoesNotAcceptFocus);
    model->setIslandEditPhase(IslandEditPhase::expanded); // no edit: nothing follows
    QCoreApplication::processEvents();
    EXPECT_EQ(model->state(), NotchState::collapsed);
}

TEST_F(WindowInputTest, TheWindowDrivesTheModelUntilTornDown)
{
    // The model learns the notch and asks the window where the pointer is.
    EXPECT_EQ(model->notchHeight(), controller->geometry().notchRect.height());
    pointer.at = controller->panel()->geometry().center();
    EXPECT_TRUE(model->isPointerInside());
    advance(17);
    advance(100);
    EXPECT_EQ(model->state(), NotchState::hover);
    EXPECT_EQ(controller->inputs().state, NotchState::hover);

    // The frame follows the values it is sized by as they change.
    model->setHomeContentHeight(312);
    EXPECT_EQ(controller->inputs().homeContentHeight, 312);

    // Hiding the game-mode module lets go of the chord once the settings settle.
    hide(HomeModule::gameMode);
    EXPECT_FALSE(controller->inputs().gameModeShown);
    EXPECT_TRUE(hotkey.grabbed);
    QCoreApplication::processEvents();
    EXPECT_FALSE(hotkey.grabbed);

    // Teardown stops the model's timers with the window's own.
    model->start();
    EXPECT_GT(scheduler->pendingCount(), 0);
    controller->teardown();
    EXPECT_EQ(scheduler->pendingCount(), 0);
    EXPECT_FALSE(model->isPointerInside());
    model->openHome();
    EXPECT_EQ(controller->inputs().state, NotchState::hover);
}

TEST_F(WindowInputTest, AStillPointerOnAMovedIslandStaysOnItAndItsClickOpensHome)
{
    // The pill and the open island have their own Y offsets: entering one state
    // must not move the island out from under a pointer that does not move.
    for (const bool pill : {true, false}) {
        for (const double y : {0.0, 20.0, 40.0, 60.0, 80.0}) {
            SCOPED_TRACE(testing::Message() << (pill ? "pill Y " : "expanded Y ") << y);
            fakes->settings.setLipOffsetY(pill ? y : 0);
            fakes->settings.setExpandedOffsetY(pill ? 0 : y);
            model->collapse();
            pointer.at = QPointF(-100, -100);
            QCoreApplication::processEvents();
            advance(3000);
            ASSERT_EQ(model->state(), NotchState::collapsed);
            const QRect panel = controller->panel()->geometry();
            pointer.at = panel.topLeft() + controller->panel()->islandRect().center();

            int changes = 0;
            QObject::connect(model.get(), &NotchViewModel::stateChanged, controller.get(), [&] { ++changes; });
            for (int ms = 0; ms < 3000; ms += 16)
                advance(16);
            EXPECT_LE(changes, 1);
            QObject::disconnect(model.get(), &NotchViewModel::stateChanged, controller.get(), nullptr);

            controller->handleClick(100000 + qint64(y) * 10 + pill, true);
            advance(NotchViewModel::ClickWindowMs + 500);
            EXPECT_EQ(model->state(), NotchState::home);
        }
    }
}
