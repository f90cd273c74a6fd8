#include "games/blackjackengine.h"
#include "games/gamecards.h"
#include "games/gameviews.h"
#include "island/islandtypes.h"
#include "support/pavlettest.h"
#include "core/random.h"
#include "games/stack4engine.h"
#include "games/stack4fall.h"
#include "games/toeengine.h"
#include "games/wordleengine.h"

// The game screens' rules, driven through the engines.

TEST(GameViewsRulesTest, PageTextsFollowTheIslandsPageOrder)
{
    using Island::PavletGame;
    const struct {
        PavletGame page;
        const char *title;
        const char *subtitle;
    } rows[] = {
        {PavletGame::hub, "Pavlet Arcade", "Thirteen games. One smile."},
        {PavletGame::wordle, "Five Letter", "No daily limit"},
        {PavletGame::reflex, "Pavlet Reflex", "Wait for GO"},
        {PavletGame::toe, "Pavlet Tic-Tac-Toe", "Local or NPC"},
        {PavletGame::stack4, "Pavlet Stack4", "Connect four"},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(GameViews::pageTitle(int(row.page)), QString::fromUtf8(row.title));
        EXPECT_EQ(GameViews::pageSubtitle(int(row.page)), QString::fromUtf8(row.subtitle));
    }
    // Each card opens the page that carries its title.
    for (const GameCards::Card &card : GameCards::table())
        EXPECT_EQ(GameViews::pageTitle(card.game), card.title);
    EXPECT_EQ(GameCards::table().size(), 13);
    EXPECT_EQ(GameViews::backSymbol(0), "chevron.left");
    EXPECT_EQ(GameViews::backSymbol(int(PavletGame::snake)), "square.grid.2x2.fill");
}

TEST(GameViewsRulesTest, OnlySnakePatternsAndStack4KeepTheirOwnColour)
{
    QStringList own;
    for (const GameCards::Card &card : GameCards::table()) {
        if (!card.resolvesAccent)
            own << card.title + ':' + card.accentName;
    }
    EXPECT_EQ(own, QStringList({"Pavlet Snake:coral", "Pavlet Color Patterns:sky", "Pavlet Stack4:blue"}));
}

TEST(GameViewsRulesTest, RecordColumnText)
{
    EXPECT_EQ(GameCards::recordText(0, {}), "");
    EXPECT_EQ(GameCards::recordText(187, {}), "187");
    EXPECT_EQ(GameCards::recordText(0, "7.4"), "7.4");
    EXPECT_EQ(GameCards::recordText(-3, {}), "");
}

class GameViewsTest : public PavletTest {
protected:
    Random random{11};
};

TEST_F(GameViewsTest, ToeTurnAndResultTexts)
{
    // The turn line by phase, opponent and side to move.
    using P = ToeEngine::Phase;
    const struct {
        P phase;
        bool local;
        bool redTurn;
        const char *text;
    } turns[] = {
        {P::howto, false, true, "Tic-Tac-Toe"}, {P::over, true, false, "Tic-Tac-Toe"},
        {P::playing, false, true, "Your turn"}, {P::playing, false, false, "NPC"},
        {P::playing, true, true, "Red\u2019s turn"}, {P::playing, true, false, "Blue\u2019s turn"},
    };
    for (const auto &t : turns)
        EXPECT_EQ(GameViews::toeTurnText(t.phase, t.local, t.redTurn), QString::fromUtf8(t.text));

    ToeEngine toe(defaults.get(), &clock, scheduler.get(), &random);
    toe.setVersusLocal();
    toe.start();
    for (int cell : {0, 3, 1, 4, 2})
        toe.play(cell);
    ASSERT_EQ(toe.phase(), ToeEngine::Phase::over);
    EXPECT_EQ(GameViews::toeResultText(toe.outcomeValue(), true), "Red takes it");
    EXPECT_EQ(GameViews::toeResultText(toe.outcomeValue(), false), "You take it");
    EXPECT_EQ(GameViews::toeLineMark(toe.cellList(), toe.winLine()), 1);
    // A local win is not counted: neither the header nor the panel shows wins.
    EXPECT_FALSE(GameViews::toeShowsResultWins(toe.wins(), true));
    EXPECT_TRUE(GameViews::toeShowsResultWins(1, false));
    EXPECT_EQ(GameViews::toeResultText(QVariant::fromValue(ToeEngine::Outcome::blue), false), "NPC takes it");
    EXPECT_EQ(GameViews::toeResultText(QVariant::fromValue(ToeEngine::Outcome::draw), true), "Draw");
    EXPECT_EQ(GameViews::toeResultText(QVariant::fromValue(nullptr), true), "");
}

TEST_F(GameViewsTest, ToeCellsAreDeadWhileTheComputerThinks)
{
    ToeEngine toe(defaults.get(), &clock, scheduler.get(), &random);
    auto enabled = [&](int cell) {
        return GameViews::toeCellEnabled(toe.phase(), toe.busy(), ToeMark(toe.cellList().at(cell)));
    };
    EXPECT_FALSE(enabled(0)); // how-to
    toe.start();
    EXPECT_TRUE(enabled(0));
    toe.play(4);
    ASSERT_TRUE(toe.busy());
    EXPECT_FALSE(enabled(0));
    EXPECT_EQ(GameViews::toeTurnText(toe.phase(), false, toe.redTurn()), "NPC");
    scheduler->advance(ToeEngine::npcDelayMs(ArcadeNPCLevel::medium));
    EXPECT_TRUE(enabled(toe.cellList().indexOf(0)));
    EXPECT_FALSE(enabled(4));
}

TEST(GameViewsRulesTest, ToeGlyphLinesHaveAFloor)
{
    EXPECT_DOUBLE_EQ(GameViews::toeLineWidth(10), 2.4);
    EXPECT_DOUBLE_EQ(GameViews::toeLineWidth(28), 2.8);
    EXPECT_DOUBLE_EQ(GameViews::toeMiniSpacing(9), 1.5);
    EXPECT_DOUBLE_EQ(GameViews::toeMiniSpacing(16), 2.56);
    EXPECT_DOUBLE_EQ(GameViews::toeMiniRadius(16), 2.88);
}

TEST_F(GameViewsTest, Stack4TextsBoardAndButtons)
{
    using P = Stack4Engine::Phase;
    using Slot = Stack4Engine::Slot;
    const struct {
        P phase;
        bool local;
        bool redTurn;
        const char *text;
    } rows[] = {{P::playing, false, true, "Your drop"}, {P::playing, false, false, "NPC"},
                {P::playing, true, true, "Red drops"},  {P::playing, true, false, "Blue drops"},
                {P::howto, true, true, "Stack4"},       {P::over, false, false, "Stack4"}};
    for (const auto &r : rows)
        EXPECT_EQ(GameViews::stack4StatusText(r.phase, r.local, r.redTurn), r.text);
    EXPECT_EQ(GameViews::stack4ResultText(Slot::red, true), "Red takes it");
    EXPECT_EQ(GameViews::stack4ResultText(Slot::red, false), "You take it");
    EXPECT_EQ(GameViews::stack4ResultText(Slot::blue, true), "Blue takes it");
    EXPECT_EQ(GameViews::stack4ResultText(Slot::blue, false), "NPC takes it");
    EXPECT_EQ(GameViews::stack4ResultText(Slot::empty, false), "Draw");
    // Column 0 shows index 5 at the top and 0 at the bottom.
    EXPECT_EQ(GameViews::stack4DiscIndex(0, 0), 5);
    EXPECT_EQ(GameViews::stack4DiscIndex(6, 5), 36);

    Stack4Engine engine(defaults.get(), &clock, scheduler.get(), &random);
    engine.setVersusLocal();
    engine.start();
    EXPECT_EQ(engine.phase(), Stack4Engine::Phase::playing);
    EXPECT_TRUE(engine.versus().isLocal());
    engine.drop(3);
    // While the disc falls the board takes no clicks or hovers.
    EXPECT_FALSE(GameViews::stack4BoardLive(engine.phase(), engine.busy()));
    scheduler->advance(3000);
    EXPECT_TRUE(GameViews::stack4BoardLive(engine.phase(), engine.busy()));

    // "Mode" after a local game comes back with the medium computer.
    engine.reset();
    EXPECT_EQ(engine.phase(), Stack4Engine::Phase::howto);
    EXPECT_EQ(engine.versus(), ArcadeVersus::npc(ArcadeNPCLevel::medium));
    EXPECT_EQ(engine.boardList(), QList<int>(42, 0));
    EXPECT_TRUE(GameViews::versusSelected(2, engine.versus().isLocal(), engine.versus().levelName()));
    EXPECT_FALSE(GameViews::versusSelected(0, engine.versus().isLocal(), engine.versus().levelName()));
}

TEST_F(GameViewsTest, FallingDiscFollowsTheEnginesTravelAndHints)
{
    Stack4Engine engine(defaults.get(), &clock, scheduler.get(), &random);
    Stack4Fall fall;
    fall.setEngine(&engine);
    auto now = [&] { return double(clock.nowMs()) / 1000.0 - 978307200.0; };
    engine.setVersusLocal();
    engine.start();
    engine.drop(0);
    // The disc starts one cell above the top row, at once.
    EXPECT_DOUBLE_EQ(fall.offset(now()), engine.fallTravel());
    EXPECT_DOUBLE_EQ(engine.fallTravel(), 192);
    const double start = engine.fallTravel();
    double lastTravel = start;
    bool sawEase = false, sawBounce = false;
    for (int ms = 0; ms < 2000 && engine.fallingIndex(); ms += 10) {
        scheduler->advance(10);
        const double offset = fall.offset(now());
        const Stack4FallAnimation hint = engine.fallAnimation();
        if (hint.curve == "easeIn" && engine.fallTravel() == 0 && offset > 0) {
            // The ease-in only ever moves down, from the start offset.
            EXPECT_LE(offset, lastTravel + 1e-9);
            lastTravel = offset;
            sawEase = true;
        }
        if (hint.curve == "spring" && engine.fallTravel() < 0)
            sawBounce = true;
    }
    EXPECT_TRUE(sawEase);
    EXPECT_TRUE(sawBounce);
    EXPECT_FALSE(engine.fallingIndex());
    EXPECT_NEAR(fall.offset(now() + 5), 0, 0.01);

    EXPECT_NEAR(Stack4Fall::easeIn(0), 0, 1e-9);
    EXPECT_NEAR(Stack4Fall::easeIn(1), 1, 1e-9);
    EXPECT_LT(Stack4Fall::easeIn(0.5), 0.5);
    EXPECT_DOUBLE_EQ(Stack4Fall::spring(0.2, 0.5, 0), 1);
}

TEST_F(GameViewsTest, BlackjackStatusTotalsAndDouble)
{
    const char *status[] = {"Blackjack", "Bet, then deal", "Your play", "Table plays", "Push.", "Bust out"};
    for (int phase = 0; phase < 6; ++phase)
        EXPECT_EQ(GameViews::blackjackStatus(BlackjackEngine::Phase(phase), "Push."), status[phase]);

    auto cards = [](std::initializer_list<int> ranks) {
        QVariantList list;
        for (int rank : ranks)
            list.append(QVariant::fromValue(BlackjackCard{list.size(), rank, 1}));
        return list;
    };
    EXPECT_EQ(GameViews::blackjackTotalText(cards({13, 6}), true), "10+");
    EXPECT_EQ(GameViews::blackjackTotalText(cards({1, 6}), true), "1+");
    EXPECT_EQ(GameViews::blackjackTotalText(cards({1, 6}), false), "17");
    EXPECT_EQ(GameViews::blackjackTotalText(cards({1}), true), "11");
    EXPECT_EQ(GameViews::blackjackTotalText({}, false), "");
    EXPECT_TRUE(GameViews::blackjackCardHidden(1, true));
    EXPECT_FALSE(GameViews::blackjackCardHidden(0, true));
    EXPECT_FALSE(GameViews::blackjackCardHidden(1, false));
    EXPECT_EQ(GameViews::blackjackSuit(BlackjackCard::Suit::hearts) + GameViews::blackjackSuit(BlackjackCard::Suit(7)),
              "\u2665\u2663");

    BlackjackHand hand;
    hand.cards = {BlackjackCard{1, 9, 0}, BlackjackCard{2, 2, 0}};
    hand.bet = 25;
    hand.bank = 25;
    EXPECT_TRUE(hand.canDouble());
    hand.bank = 24;
    EXPECT_FALSE(hand.canDouble());
    hand.bank = 100;
    hand.cards.append(BlackjackCard{3, 3, 0});
    EXPECT_FALSE(hand.canDouble());
}

TEST_F(GameViewsTest, BlackjackBetChipsOnlyWhileBettingAndWithinTheBank)
{
    BlackjackEngine engine(defaults.get(), &clock, scheduler.get(), &random);
    engine.chooseBet(50);
    EXPECT_EQ(engine.bet(), 25); // how-to
    engine.startBuyIn(100);
    engine.chooseBet(50);
    EXPECT_EQ(engine.bet(), 50);
    engine.chooseBet(250);
    engine.chooseBet(0);
    EXPECT_EQ(engine.bet(), 50);
}

TEST(GameViewsRulesTest, WordGameTilesKeysAndButton)
{
    EXPECT_EQ(GameViews::wordleEndTitle(WordlePhase::playing), "");
    EXPECT_EQ(GameViews::wordleEndTitle(WordlePhase::won), "Play again");
    EXPECT_EQ(GameViews::wordleEndTitle(WordlePhase::lost), "Next word");
    EXPECT_EQ(GameViews::wordleScore(0, 0), "0/0");
    EXPECT_EQ(GameViews::wordleScore(3, 7), "3/7");
    EXPECT_EQ(GameViews::wordleTileText(QVariant::fromValue(WordleTile::typed("q"))), "Q");
    EXPECT_EQ(GameViews::wordleTileText(QVariant::fromValue(WordleTile{})), "");
    EXPECT_EQ(GameViews::wordleTileFill(QVariant::fromValue(WordleTile::scored("a", WordleMark::present))),
              QColor::fromRgbF(0.71f, 0.62f, 0.23f));
    EXPECT_NEAR(GameViews::wordleTileFill(QVariant::fromValue(WordleTile::typed("a"))).alphaF(), 0.14, 0.001);
    EXPECT_NEAR(GameViews::wordleTileFill(QVariant::fromValue(WordleTile{})).alphaF(), 0.08, 0.001);
    const QVariantMap keys{{"a", int(WordleMark::absent)}, {"c", int(WordleMark::correct)}};
    EXPECT_EQ(GameViews::wordleKeyFill(keys, "a"), QColor::fromRgbF(0.23f, 0.23f, 0.24f));
    EXPECT_EQ(GameViews::wordleKeyFill(keys, "c"), QColor::fromRgbF(0.33f, 0.55f, 0.31f));
    EXPECT_NEAR(GameViews::wordleKeyFill(keys, "z").alphaF(), 0.14, 0.001);
    EXPECT_EQ(GameViews::keyRows(), QStringList({"qwertyuiop", "asdfghjkl", "zxcvbnm"}));
}

TEST(GameViewsRulesTest, PatternTexts)
{
    using P = PatternEngine::Phase;
    EXPECT_EQ(GameViews::patternStatus(P::howto, 0), "Color Patterns");
    EXPECT_EQ(GameViews::patternStatus(P::watch, 3), "Watch \u00b7 round 3");
    EXPECT_EQ(GameViews::patternStatus(P::input, 3), "Your turn \u00b7 round 3");
    EXPECT_EQ(GameViews::patternStatus(P::over, 4), "Round 4");
    EXPECT_EQ(GameViews::patternBestText(0), "");
    EXPECT_EQ(GameViews::patternBestText(1), "Best 1");
    EXPECT_EQ(GameViews::patternOverText(4, 6), "Round 4  \u00b7  Best 6");
    EXPECT_FALSE(GameViews::patternPadsLive(P::watch));
    EXPECT_TRUE(GameViews::patternPadsLive(P::input));
    EXPECT_FALSE(GameViews::patternLit(QVariant::fromValue(nullptr), 0));
    EXPECT_TRUE(GameViews::patternLit(2, 2));
}
