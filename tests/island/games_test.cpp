#include "support/islandtest.h"

#include "core/keycodes.h"
#include "games/action/blocksengine.h"
#include "games/action/cpsengine.h"
#include "games/action/dinoengine.h"
#include "games/action/flapengine.h"
#include "games/action/reflexengine.h"
#include "games/action/snakeengine.h"
#include "games/action/stackengine.h"
#include "games/blackjackengine.h"
#include "games/stack4engine.h"
#include "games/toeengine.h"
#include "games/wordleengine.h"

#include <functional>

namespace {
KeyInput key(int code, const QString &text = QString(), bool shift = false, bool control = false)
{
    KeyInput k;
    k.keyCode = code;
    k.text = text;
    k.shift = shift;
    k.control = control;
    return k;
}
const KeyInput Space = key(KeyCode::Space, QStringLiteral(" "));
} // namespace

class GameKeysTest : public IslandTest {
protected:
    void SetUp() override
    {
        IslandTest::SetUp();
        make();
    }
    // Opens a game and presses keys; the results of each press.
    QList<bool> press(const QList<KeyInput> &keys)
    {
        QList<bool> used;
        for (const KeyInput &k : keys)
            used.append(model->handleGameKey(k));
        return used;
    }
};

TEST_F(GameKeysTest, KeysReachGamesOnlyWhileTheGamesPanelIsOpen)
{
    EXPECT_FALSE(model->handleGameKey(Space));
    model->openGame(PavletGame::dino);
    model->openHome();
    EXPECT_FALSE(model->handleGameKey(Space));
    EXPECT_EQ(model->game<DinoEngine>()->phase(), DinoEngine::Phase::ready);
}

TEST_F(GameKeysTest, PointerGamesAndTheHubTakeNoKeys)
{
    for (PavletGame game : {PavletGame::hub, PavletGame::pong, PavletGame::toe, PavletGame::pattern}) {
        model->openGame(game);
        EXPECT_EQ(press({Space, key(KeyCode::UpArrow), key(KeyCode::Return), key(KeyCode::A, "a")}),
                  QList<bool>({false, false, false, false}))
            << int(game);
    }
}

TEST_F(GameKeysTest, EachGameTakesItsKeys)
{
    using P = PavletGame;
    struct Case {
        const char *name;
        PavletGame game;
        std::function<void(NotchViewModel &)> prepare;
        QList<KeyInput> keys;
        QList<bool> taken;
        std::function<bool(NotchViewModel &)> after;
    };
    const auto nothing = [](NotchViewModel &) {};
    const Case cases[] = {
        {"dino jumps from ready", P::dino, nothing, {key(KeyCode::DownArrow), key(KeyCode::UpArrow)}, {false, true},
         [](NotchViewModel &m) { return m.game<DinoEngine>()->phase() == DinoEngine::Phase::running && m.game<DinoEngine>()->playerY() > 0; }},
        {"flap", P::flap, nothing, {key(KeyCode::Return), Space}, {false, true},
         [](NotchViewModel &m) { return m.game<FlapEngine>()->phase() == FlapEngine::Phase::running; }},
        {"reflex", P::reflex, nothing, {key(KeyCode::UpArrow), Space}, {false, true},
         [](NotchViewModel &m) { return m.game<ReflexEngine>()->phase() == ReflexEngine::Phase::waiting; }},
        {"stack how-to takes Space without starting", P::stack, nothing, {Space, key(KeyCode::Return)}, {true, false},
         [](NotchViewModel &m) { return m.game<StackEngine>()->phase() == StackEngine::Phase::howto; }},
        {"cps how-to", P::cps, nothing, {Space}, {false},
         [](NotchViewModel &m) { return m.game<CPSEngine>()->phase() == CPSEngine::Phase::howto; }},
        {"cps ready", P::cps, [](NotchViewModel &m) { m.game<CPSEngine>()->prepare(); }, {Space}, {true},
         [](NotchViewModel &m) { return m.game<CPSEngine>()->phase() == CPSEngine::Phase::running; }},
        {"blocks how-to", P::blocks, nothing, {key(KeyCode::A), Space}, {false, false}, nullptr},
        {"blocks running", P::blocks, [](NotchViewModel &m) { m.game<BlocksEngine>()->begin(); },
         {key(KeyCode::A), key(KeyCode::LeftArrow), key(KeyCode::D), key(KeyCode::RightArrow), key(KeyCode::W),
          key(KeyCode::UpArrow), key(KeyCode::S), key(KeyCode::DownArrow), key(KeyCode::H), Space},
         {true, true, true, true, true, true, true, true, false, true},
         [](NotchViewModel &m) { return m.game<BlocksEngine>()->score() > 0; }}, // the hard drop scores
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        model->openGame(c.game);
        c.prepare(*model);
        EXPECT_EQ(press(c.keys), c.taken);
        if (c.after) {
            EXPECT_TRUE(c.after(*model));
        }
    }
}

TEST_F(GameKeysTest, WordleTypesLettersWhateverTheShiftKeepsItsBoardAndIgnoresDigits)
{
    model->openGame(PavletGame::wordle);
    const KeyInput shiftA = key(KeyCode::A, QStringLiteral("A"), true);
    const KeyInput controlD = key(KeyCode::D, QStringLiteral("\x04"), false, true);
    const KeyInput digit = key(KeyCode::Digit1, QStringLiteral("1"));
    const KeyInput comma = key(KeyCode::Comma, QStringLiteral(","));
    EXPECT_EQ(press({shiftA, digit, comma, controlD}), QList<bool>({true, false, false, true}));
    EXPECT_EQ(model->game<WordleEngine>()->rows()[0][0].letter, QStringLiteral("a"));
    EXPECT_EQ(model->game<WordleEngine>()->rows()[0][1].letter, QStringLiteral("d"));
    model->openGame(PavletGame::dino);
    model->openGame(PavletGame::wordle);
    EXPECT_EQ(model->game<WordleEngine>()->col(), 2);

    EXPECT_TRUE(model->handleGameKey(key(KeyCode::Delete, QStringLiteral("\b"))));
    EXPECT_EQ(model->game<WordleEngine>()->col(), 1);
    EXPECT_TRUE(model->handleGameKey(key(KeyCode::Return, "\r")));
    EXPECT_EQ(model->game<WordleEngine>()->message(), QStringLiteral("Need 5 letters"));
}

TEST_F(GameKeysTest, WordleControlCharactersTypeNothingAndKeypadEnterSubmits)
{
    model->openGame(PavletGame::wordle);
    auto *wordle = model->game<WordleEngine>();
    EXPECT_EQ(press({key(KeyCode::Tab, QStringLiteral("\t")), key(KeyCode::Escape, QStringLiteral("\x1b")),
                     key(KeyCode::Unknown, QStringLiteral("\x01"))}),
              QList<bool>({false, false, false}));
    EXPECT_EQ(wordle->col(), 0);
    EXPECT_TRUE(model->handleGameKey(key(KeyCode::KeypadEnter, QStringLiteral("\r"))));
    EXPECT_EQ(wordle->col(), 0);
    EXPECT_EQ(wordle->message(), QStringLiteral("Need 5 letters"));
}

TEST_F(GameKeysTest, SnakeTurnsAndStartsButSpaceWhileRunningDoesNothing)
{
    model->openGame(PavletGame::snake);
    EXPECT_FALSE(model->handleGameKey(Space));
    model->game<SnakeEngine>()->start();
    EXPECT_TRUE(model->handleGameKey(Space));
    EXPECT_EQ(model->game<SnakeEngine>()->phase(), SnakeEngine::Phase::running);
    EXPECT_TRUE(model->handleGameKey(key(KeyCode::W)));
    EXPECT_EQ(model->game<SnakeEngine>()->queued(), SnakeDir::up);
    EXPECT_FALSE(model->handleGameKey(key(KeyCode::Return)));
}

// A held key's repeats: they steer a running game, but a game that waits to
// start or has just ended waits for a fresh press, and takes the repeat so
// that nothing else acts on it.
TEST_F(GameKeysTest, HeldKeysSteerButOnlyAFreshPressStartsOrStartsOver)
{
    const auto held = [](KeyInput k) {
        k.autoRepeat = true;
        return k;
    };
    using P = PavletGame;
    struct Case {
        const char *name;
        PavletGame game;
        std::function<void(NotchViewModel &)> prepare;
        KeyInput key;
        std::function<int(NotchViewModel &)> phase;
    };
    const auto dino = [](NotchViewModel &m) { return int(m.game<DinoEngine>()->phase()); };
    const auto flap = [](NotchViewModel &m) { return int(m.game<FlapEngine>()->phase()); };
    const auto snake = [](NotchViewModel &m) { return int(m.game<SnakeEngine>()->phase()); };
    const auto reflex = [](NotchViewModel &m) { return int(m.game<ReflexEngine>()->phase()); };
    const auto cps = [](NotchViewModel &m) { return int(m.game<CPSEngine>()->phase()); };
    const auto blackjack = [](NotchViewModel &m) { return int(m.game<BlackjackEngine>()->phase()); };
    const Case waiting[] = {
        {"dino ready", P::dino, [](NotchViewModel &) {}, Space, dino},
        {"dino crashed", P::dino, [](NotchViewModel &m) { m.game<DinoEngine>()->press(); m.game<DinoEngine>()->die(); },
         key(KeyCode::UpArrow), dino},
        {"flap ready", P::flap, [](NotchViewModel &) {}, key(KeyCode::UpArrow), flap},
        {"flap crashed", P::flap, [](NotchViewModel &m) { m.game<FlapEngine>()->flap(); m.game<FlapEngine>()->die(); },
         Space, flap},
        {"snake over, held arrow", P::snake,
         [](NotchViewModel &m) { m.game<SnakeEngine>()->start(); m.game<SnakeEngine>()->gameOver(); },
         key(KeyCode::RightArrow), snake},
        {"snake over, held space", P::snake,
         [](NotchViewModel &m) { m.game<SnakeEngine>()->start(); m.game<SnakeEngine>()->gameOver(); }, Space, snake},
        {"reflex ready", P::reflex, [](NotchViewModel &) {}, Space, reflex},
        {"reflex waiting", P::reflex, [](NotchViewModel &m) { m.game<ReflexEngine>()->tap(); }, Space, reflex},
        {"cps ready", P::cps, [](NotchViewModel &m) { m.game<CPSEngine>()->prepare(); }, Space, cps},
        {"blackjack bets", P::blackjack, [](NotchViewModel &m) { m.game<BlackjackEngine>()->startBuyIn(250); },
         key(KeyCode::Return), blackjack},
    };
    for (const Case &c : waiting) {
        SCOPED_TRACE(c.name);
        model->openGame(c.game);
        c.prepare(*model);
        const int before = c.phase(*model);
        EXPECT_TRUE(model->handleGameKey(held(c.key)));
        EXPECT_EQ(c.phase(*model), before) << "a held key acted";
        EXPECT_TRUE(model->handleGameKey(c.key));
        EXPECT_NE(c.phase(*model), before) << "a fresh press did nothing";
    }

    // Running, the repeats steer.
    model->openGame(P::flap);
    model->game<FlapEngine>()->setFieldHeight(5000);
    model->game<FlapEngine>()->flap();
    model->game<FlapEngine>()->advance(0.05);
    ASSERT_LT(model->game<FlapEngine>()->birdVy(), 270.0);
    EXPECT_TRUE(model->handleGameKey(held(Space)));
    EXPECT_EQ(model->game<FlapEngine>()->birdVy(), 270.0);
    model->openGame(P::snake);
    model->game<SnakeEngine>()->start();
    EXPECT_TRUE(model->handleGameKey(held(key(KeyCode::UpArrow))));
    EXPECT_EQ(model->game<SnakeEngine>()->queued(), SnakeDir::up);
    model->openGame(P::dino);
    model->game<DinoEngine>()->start();
    EXPECT_TRUE(model->handleGameKey(held(Space)));
    EXPECT_GT(model->game<DinoEngine>()->playerY(), 0.0);
}

TEST_F(GameKeysTest, BlackjackKeysFollowThePhase)
{
    model->openGame(PavletGame::blackjack);
    EXPECT_FALSE(model->handleGameKey(key(KeyCode::Return))); // how-to screen
    model->game<BlackjackEngine>()->startBuyIn(250);
    ASSERT_EQ(model->game<BlackjackEngine>()->phase(), BlackjackEngine::Phase::betting);
    EXPECT_FALSE(model->handleGameKey(key(KeyCode::H)));
    EXPECT_TRUE(model->handleGameKey(key(KeyCode::Return)));
    EXPECT_NE(model->game<BlackjackEngine>()->phase(), BlackjackEngine::Phase::betting);
    if (model->game<BlackjackEngine>()->phase() == BlackjackEngine::Phase::playing) {
        EXPECT_FALSE(model->handleGameKey(Space));
        EXPECT_TRUE(model->handleGameKey(key(KeyCode::S)));
    }
    // The dealer plays: no key is taken.
    if (model->game<BlackjackEngine>()->phase() == BlackjackEngine::Phase::waiting) {
        EXPECT_EQ(press({key(KeyCode::Return), Space, key(KeyCode::H), key(KeyCode::S), key(KeyCode::D)}),
                  QList<bool>({false, false, false, false, false}));
    }
    advance(10000);
    ASSERT_EQ(model->game<BlackjackEngine>()->phase(), BlackjackEngine::Phase::settle);
    EXPECT_TRUE(model->handleGameKey(Space));
    EXPECT_EQ(model->game<BlackjackEngine>()->phase(), BlackjackEngine::Phase::betting);
}

TEST_F(GameKeysTest, ConnectFourDigitDropsInItsColumn)
{
    model->openGame(PavletGame::stack4);
    const KeyInput six = key(KeyCode::Digit6, QStringLiteral("6"));
    EXPECT_FALSE(model->handleGameKey(six));
    model->game<Stack4Engine>()->setPhase(Stack4Engine::Phase::playing);
    EXPECT_TRUE(model->handleGameKey(six));
    EXPECT_EQ(model->game<Stack4Engine>()->cursor(), 5);
    EXPECT_TRUE(model->game<Stack4Engine>()->busy());
    advance(5000);
    EXPECT_EQ(model->game<Stack4Engine>()->board()[5 * 6], Stack4Engine::Slot::red); // column 5, bottom row

    const int cursor = model->game<Stack4Engine>()->cursor();
    EXPECT_TRUE(model->handleGameKey(key(KeyCode::LeftArrow)));
    EXPECT_EQ(model->game<Stack4Engine>()->cursor(), qMax(0, cursor - 1));
    EXPECT_FALSE(model->handleGameKey(key(KeyCode::Digit8, QStringLiteral("8"))));
}

TEST_F(GameKeysTest, BoardGamesReopenAtTheHowToAgainstTheMediumComputer)
{
    model->openGame(PavletGame::toe);
    model->game<ToeEngine>()->setVersusLocal();
    model->game<ToeEngine>()->start();
    model->openGame(PavletGame::toe);
    EXPECT_EQ(model->game<ToeEngine>()->phase(), ToeEngine::Phase::howto);
    EXPECT_EQ(model->game<ToeEngine>()->versus(), ArcadeVersus::npc(ArcadeNPCLevel::medium));

    model->openGame(PavletGame::stack4);
    model->game<Stack4Engine>()->setVersusLocal();
    model->game<Stack4Engine>()->setPhase(Stack4Engine::Phase::playing);
    model->openGame(PavletGame::stack4);
    EXPECT_EQ(model->game<Stack4Engine>()->phase(), Stack4Engine::Phase::howto);
    EXPECT_EQ(model->game<Stack4Engine>()->versus(), ArcadeVersus::npc(ArcadeNPCLevel::medium));
}

TEST_F(GameKeysTest, OpeningAnotherGameStopsTheRunningOneButKeepsItsPhase)
{
    model->openGame(PavletGame::snake);
    model->game<SnakeEngine>()->start();
    model->openGame(PavletGame::dino);
    EXPECT_EQ(model->game<SnakeEngine>()->phase(), SnakeEngine::Phase::running);
    EXPECT_EQ(scheduler->pendingCount(), 0);
    EXPECT_EQ(model->state(), NotchState::games);
    EXPECT_EQ(model->activeGame(), PavletGame::dino);

    // Leaving Blackjack while the dealer plays only cancels the dealer's
    // turn: the table is not sent back to the buy-in.
    model->openGame(PavletGame::blackjack);
    model->game<BlackjackEngine>()->startBuyIn(250);
    model->game<BlackjackEngine>()->deal();
    if (model->game<BlackjackEngine>()->phase() == BlackjackEngine::Phase::playing)
        model->game<BlackjackEngine>()->stand();
    const BlackjackEngine::Phase dealt = model->game<BlackjackEngine>()->phase();
    model->openGame(PavletGame::hub);
    EXPECT_EQ(model->game<BlackjackEngine>()->phase(), dealt);
    EXPECT_FALSE(model->game<BlackjackEngine>()->isPlaying());

    hide(HomeModule::games);
    model->openGame(PavletGame::flap);
    EXPECT_EQ(model->activeGame(), PavletGame::hub);
}
