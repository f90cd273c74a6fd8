#include "gamesviewtest.h"

#include "blackjackengine.h"
#include "toeengine.h"

using Island::PavletGame;

// Every page of the table opens the view of its game, with the header's
// texts; the back button leads to the arcade, then home.
TEST_F(GamesViewTest, PageTableAndBackButton)
{
    model->openGame(PavletGame::hub);
    QQuickItem *root = panel();
    ASSERT_TRUE(root);
    const struct {
        PavletGame game;
        const char *view;
        const char *title;
    } pages[] = {
        {PavletGame::hub, "QQuickFlickable", "Pavlet Arcade"},
        {PavletGame::dino, "DinoGameView", "Pavlet Run"},
        {PavletGame::flap, "FlapGameView", "Pavlet Flap"},
        {PavletGame::wordle, "WordleGameView", "Five Letter"},
        {PavletGame::pong, "PongGameView", "Pavlet Pong"},
        {PavletGame::blocks, "BlocksGameView", "Pavlet Blocks"},
        {PavletGame::stack, "StackGameView", "Pavlet Stack"},
        {PavletGame::reflex, "ReflexGameView", "Pavlet Reflex"},
        {PavletGame::toe, "ToeGameView", "Pavlet Tic-Tac-Toe"},
        {PavletGame::cps, "CPSGameView", "Pavlet CPS"},
        {PavletGame::snake, "SnakeGameView", "Pavlet Snake"},
        {PavletGame::pattern, "PatternGameView", "Pavlet Color Patterns"},
        {PavletGame::blackjack, "BlackjackGameView", "Pavlet Blackjack"},
        {PavletGame::stack4, "Stack4GameView", "Pavlet Stack4"},
    };
    for (const auto &p : pages) {
        model->openGame(p.game);
        QQuickItem *shown = page();
        ASSERT_TRUE(shown) << p.title;
        EXPECT_TRUE(QString::fromLatin1(shown->metaObject()->className()).startsWith(QLatin1String(p.view)))
            << p.title << " shows " << shown->metaObject()->className();
        EXPECT_EQ(text(root, "gamesTitle"), QString::fromUtf8(p.title));
        EXPECT_EQ(named(root, "gamesBack")->property("help").toString(),
                  p.game == PavletGame::hub ? "Home" : "Arcade");
    }

    // In a game the back button stops it and shows the arcade.
    model->openGame(PavletGame::blackjack);
    model->blackjack()->startBuyIn(250);
    QMetaObject::invokeMethod(view.get(), "goBack");
    EXPECT_EQ(model->activeGame(), PavletGame::hub);
    EXPECT_EQ(model->state(), NotchState::games);
    QMetaObject::invokeMethod(view.get(), "goBack");
    EXPECT_EQ(model->state(), NotchState::home);
}
