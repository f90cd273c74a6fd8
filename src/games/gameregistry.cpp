#include "games/gameregistry.h"

#include "games/action/blocksengine.h"
#include "games/action/cpsengine.h"
#include "games/action/dinoengine.h"
#include "games/action/flapengine.h"
#include "games/action/pongengine.h"
#include "games/action/reflexengine.h"
#include "games/action/snakeengine.h"
#include "games/action/stackengine.h"
#include "games/blackjackengine.h"
#include "games/patternengine.h"
#include "games/stack4engine.h"
#include "games/toeengine.h"
#include "games/wordleengine.h"

namespace {
template<class Engine>
std::unique_ptr<ArcadeEngine> make(const GameEngineParts &p)
{
    return std::make_unique<Engine>(p.defaults, p.clock, p.scheduler, p.random);
}

QString text(const char *s) { return QString::fromUtf8(s); }

// How many games there are, in a word for the arcade's line.
QString countWord(qsizetype n)
{
    static const char *const words[] = {"No",       "One",     "Two",       "Three",    "Four",
                                        "Five",     "Six",     "Seven",     "Eight",    "Nine",
                                        "Ten",      "Eleven",  "Twelve",    "Thirteen", "Fourteen",
                                        "Fifteen",  "Sixteen", "Seventeen", "Eighteen", "Nineteen",
                                        "Twenty"};
    return n >= 0 && n < qsizetype(std::size(words)) ? text(words[n]) : QString::number(n);
}

constexpr QSizeF PlainPage{440, 292};
} // namespace

namespace GameRegistry {

const QList<GameEntry> &games()
{
    // id, title, subtitle, card line, record colour, through the accent,
    // record caption, record property, as text, page size, engine, screen,
    // card picture; the page is the row's place.
    static const QList<GameEntry> rows = [] {
        QList<GameEntry> list = {
            {"dino", text("Pavlet Run"), text("Jump the notch"), text("Leap the little notches"), text("yellow"), true,
             text("BEST"), "best", false, {440, 292}, make<DinoEngine>, "action/DinoGameView.qml", "action/DinoHubMark.qml"},
            {"flap", text("Pavlet Flap"), text("Keep the smile flying"), text("Tap to stay in the air"), text("sky"), true,
             text("BEST"), "best", false, {440, 292}, make<FlapEngine>, "action/FlapGameView.qml", "action/FlapHubMark.qml"},
            {"wordle", text("Five Letter"), text("No daily limit"), text("Five letters, infinite rounds"), text("green"), true,
             text("STREAK"), "streak", false, {400, 432}, make<WordleEngine>, "WordleGameView.qml", "WordlePavPile.qml"},
            {"pong", text("Pavlet Pong"), text("You vs the NPC"), text("Player vs NPC"), text("yellow"), true,
             text("WINS"), "wins", false, {440, 318}, make<PongEngine>, "action/PongGameView.qml", "action/PongHubMark.qml"},
            {"blocks", text("Pavlet Blocks"), text("Stack them. Clear a row."), text("Drop, rotate, clear rows"), text("amber"), true,
             text("BEST"), "best", false, {420, 328}, make<BlocksEngine>, "action/BlocksGameView.qml", "action/BlocksHubMark.qml"},
            {"stack", text("Pavlet Stack"), text("Drop. Trim. Go higher."), text("Drop the slab. Cut the overhang."), text("yellow"), true,
             text("BEST"), "best", false, {440, 318}, make<StackEngine>, "action/StackGameView.qml", "action/StackHubMark.qml"},
            {"reflex", text("Pavlet Reflex"), text("Wait for GO"), text("Wait, then tap GO"), text("yellow"), true,
             text("MS"), "bestMS", false, {440, 292}, make<ReflexEngine>, "action/ReflexGameView.qml", "action/ReflexHubMark.qml"},
            {"toe", text("Pavlet Tic-Tac-Toe"), text("Local or NPC"), text("Three in a row. Local or NPC"), text("yellow"), true,
             text("WINS"), "wins", false, {440, 396}, make<ToeEngine>, "ToeGameView.qml", "ToeHubMark.qml"},
            {"cps", text("Pavlet CPS"), text("Clicks per second"), text("Click as fast as you can"), text("yellow"), true,
             text("CPS"), "bestSummary", true, {440, 292}, make<CPSEngine>, "action/CPSGameView.qml", "action/CPSHubMark.qml"},
            {"snake", text("Pavlet Snake"), text("Eat the apples"), text("Eat apples. Don't hit a wall."), text("coral"), false,
             text("BEST"), "best", false, {440, 348}, make<SnakeEngine>, "action/SnakeGameView.qml", "action/SnakeHubMark.qml"},
            {"pattern", text("Pavlet Color Patterns"), text("Watch, then repeat"), text("Watch the colors. Tap them back."), text("sky"), false,
             text("ROUND"), "best", false, {440, 372}, make<PatternEngine>, "PatternGameView.qml", "PatternHubMark.qml"},
            {"blackjack", text("Pavlet Blackjack"), text("Beat the dealer to 21"), text("Buy in. Beat the dealer."), text("yellow"), true,
             text("BANK"), "best", false, {440, 412}, make<BlackjackEngine>, "BlackjackGameView.qml", "BlackjackHubMark.qml"},
            {"stack4", text("Pavlet Stack4"), text("Connect four"), text("Connect four. Red vs blue."), text("blue"), false,
             text("WINS"), "wins", false, {440, 396}, make<Stack4Engine>, "Stack4GameView.qml", "Stack4HubMark.qml"},
        };
        for (qsizetype i = 0; i < list.size(); ++i)
            list[i].game = int(i + 1);
        return list;
    }();
    return rows;
}

const GameEntry *find(int game)
{
    const QList<GameEntry> &rows = games();
    return game >= 1 && game <= rows.size() ? &rows.at(game - 1) : nullptr;
}

QString arcadeTitle() { return QStringLiteral("Pavlet Arcade"); }

QString countInWords() { return countWord(games().size()); }

QString arcadeSubtitle() { return countInWords() + QStringLiteral(" games. One smile."); }

QSizeF arcadePageSize() { return {428, 360}; }

QSizeF pageSize(int page)
{
    if (page == 0)
        return arcadePageSize();
    const GameEntry *row = find(page);
    return row ? row->pageSize : PlainPage;
}

} // namespace GameRegistry
