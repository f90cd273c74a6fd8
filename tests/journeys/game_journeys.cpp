#include "journey.h"

#include "app/appdelegate.h"
#include "app/compositionroot.h"
#include "games/arcadeengine.h"
#include "games/wordleengine.h"
#include "island/notchviewmodel.h"
#include "notch/notchpanel.h"
#include "tools/calculatorengine.h"

#include <QKeyEvent>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QProcess>
#include <QScopeGuard>
#include <QRegularExpression>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <optional>

namespace {

using State = Island::NotchState;
using Game = Island::PavletGame;

// The engine's phase, by its name ("running", "over").
QString phase(Journey &j, Game game)
{
    QObject *engine = j.island().gameEngine(game);
    const QMetaObject *meta = engine->metaObject();
    const QMetaProperty p = meta->property(meta->indexOfProperty("phase"));
    return QString::fromLatin1(p.enumerator().valueToKey(p.read(engine).toInt()));
}

bool inPhase(Journey &j, Game game, const char *phases)
{
    return QString::fromLatin1(phases).split('|').contains(phase(j, game));
}

// The shown item of that object name, once there is one.
QQuickItem *named(Journey &j, const QString &name)
{
    QQuickItem *found = nullptr;
    j.waitFor([&] {
        return found = j.item("QQuickItem", [&](QQuickItem *i) { return i->objectName() == name && i->isVisible(); });
    }, 3000, name);
    return found;
}

void press(Journey &j, const QString &text)
{
    QQuickItem *item = nullptr;
    if (!j.waitFor([&] { return item = j.text(text); }, 3000, QStringLiteral("\"%1\" to show").arg(text)))
        ADD_FAILURE() << "no " << text.toStdString() << " to press";
    else
        j.click(item);
}

void key(Journey &j, const char *name)
{
    j.hands().key(QString::fromLatin1(name));
}

// One game as a user meets it: what gets it going from its page, what they
// do while it runs (repeated until it ends), what starts it again, and the
// record it keeps.
struct GameWalk {
    const char *name;
    Game game;
    std::function<void(Journey &)> start;
    const char *running;   // phases once started
    std::function<void(Journey &)> move;
    const char *ended;     // phases once it is over
    std::function<void(Journey &)> again;
    const char *restarted; // phases once started again
    const char *record;    // the engine's property that holds the record
    bool earnsRecord;      // whether the short play above sets it
    int playSeconds = 30;
};

class Games : public ::testing::TestWithParam<GameWalk> {};

QString record(Journey &j, const GameWalk &g)
{
    const QString name = QString::fromLatin1(g.record);
    const QStringList path = name.split('/');
    QVariant value = j.island().gameEngine(g.game)->property(path.first().toLatin1());
    if (path.size() > 1)
        value = value.toMap().value(path.at(1));
    return value.isValid() && !value.isNull() ? value.toString() : QString();
}

QString gameName(Game game)
{
    return QString::fromLatin1(QMetaEnum::fromType<Game>().valueToKey(int(game)));
}

bool openCard(Journey &j, Game game)
{
    // The card of the arcade page that is current and fully in: a page just
    // left fades out before it goes, and its card would be gone under the
    // click.
    const auto onCurrentPage = [](QQuickItem *card) {
        for (QQuickItem *p = card->parentItem(); p; p = p->parentItem()) {
            if (p->property("current").isValid())
                return p->property("current").toBool() && p->opacity() > 0.99;
        }
        return false;
    };
    QQuickItem *card = nullptr;
    if (!j.waitFor([&] {
            const QList<QQuickItem *> cards = j.items("GamePickCard", [&](QQuickItem *i) {
                return i->property("game").toInt() == int(game) && onCurrentPage(i);
            });
            card = cards.size() == 1 ? cards.first() : nullptr;
            return card != nullptr;
        }, 3000, QStringLiteral("the arcade to show the %1 card").arg(gameName(game))))
        return false;
    j.click(card);
    const bool opened = j.waitFor([&] { return j.island().activeGame() == game; }, 3000,
                                  QStringLiteral("the %1 card to open its game").arg(gameName(game)));
    j.settle();
    return opened;
}

// What a game's board is made of, by object name: the parts a user plays on.
QStringList boardPieces(Game game)
{
    QStringList names;
    auto numbered = [&](const char *stem, int count) {
        for (int i = 0; i < count; ++i)
            names << QStringLiteral("%1%2").arg(QLatin1String(stem)).arg(i);
    };
    switch (game) {
    case Game::pattern: numbered("pad", 4); break;
    case Game::toe: numbered("toeCell", 9); break;
    case Game::stack4: numbered("stack4Column", 7); break;
    case Game::cps: names << "cpsTarget" << "cpsChip5" << "cpsChip10" << "cpsChip30"; break;
    case Game::snake: names << "snakeBoard"; break;
    case Game::wordle: names << "wordleBoard" << "wordleKeyboard"; break;
    case Game::blocks: names << "blocksWell" << "blocksPreview"; break;
    default: break;
    }
    return names;
}

// What is wrong with the open game's board: a piece missing, without a size,
// off the island or on top of another piece. Empty when all is well.
QStringList boardProblems(Journey &j, Game game)
{
    QStringList problems;
    const QRectF island = j.panel()->islandFrameOnScreen();
    QList<QPair<QString, QRectF>> placed;
    for (const QString &name : boardPieces(game)) {
        QQuickItem *piece = j.item("QQuickItem", [&](QQuickItem *i) { return i->objectName() == name && i->isVisible(); });
        if (!piece) {
            problems << name + " missing";
            continue;
        }
        const QRectF rect(j.screenPoint(piece, {0, 0}), QSizeF(piece->width(), piece->height()));
        if (piece->width() < 1 || piece->height() < 1)
            problems << QStringLiteral("%1 is %2x%3").arg(name).arg(piece->width()).arg(piece->height());
        else if (!island.adjusted(-1, -1, 1, 1).contains(rect))
            problems << QStringLiteral("%1 at %2,%3 %4x%5 is off the island").arg(name).arg(rect.x()).arg(rect.y())
                            .arg(rect.width()).arg(rect.height());
        for (const auto &[other, at] : std::as_const(placed)) {
            if (rect.intersected(at).width() > 1 && rect.intersected(at).height() > 1)
                problems << name + " lies on " + other;
        }
        placed.append({name, rect});
    }
    return problems;
}

// Waits for the open game's board to stand laid out; its problems if it never does.
QStringList boardLaidOut(Journey &j, Game game)
{
    QStringList problems;
    j.waitFor([&] { return (problems = boardProblems(j, game)).isEmpty(); }, 4000,
              QStringLiteral("the %1 board to lay out").arg(gameName(game)));
    return problems;
}

} // namespace

// Every game from the arcade: it starts, is played by keys and pointer until
// it ends, starts again, is left by the back button and by Escape, and its
// record is still there once the program has started again.
TEST_P(Games, PlayEndRestartLeaveAndKeepTheRecord)
{
    const GameWalk &g = GetParam();
    Journey j({.everyModule = true});
    ASSERT_TRUE(j.start());
    QString kept;
    walk(j, {
        {"open the game from the arcade",
         [&](Journey &j) {
             ASSERT_TRUE(j.openFromStrip("Games"));
             ASSERT_EQ(j.island().state(), State::games);
             ASSERT_TRUE(openCard(j, g.game));
         }},
        {"start it", [&](Journey &j) { g.start(j); },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return inPhase(j, g.game, g.running); }, 4000))
                 << "phase " << phase(j, g.game).toStdString();
             EXPECT_EQ(boardLaidOut(j, g.game), QStringList());
         }},
        {"play until it ends",
         [&](Journey &j) {
             j.waitFor([&] {
                 if (inPhase(j, g.game, g.ended))
                     return true;
                 if (g.move)
                     g.move(j);
                 XInput::pause(80);
                 return false;
             }, g.playSeconds * 1000);
         },
         [&](Journey &j) {
             EXPECT_TRUE(inPhase(j, g.game, g.ended)) << "phase " << phase(j, g.game).toStdString();
         }},
        {"start it again", [&](Journey &j) { g.again(j); },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return inPhase(j, g.game, g.restarted); }, 4000))
                 << "phase " << phase(j, g.game).toStdString();
             EXPECT_EQ(boardLaidOut(j, g.game), QStringList());
         }},
        {"back to the arcade", [](Journey &j) { j.click(named(j, "gamesBack")); },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.island().activeGame() == Game::hub; }, 3000));
             EXPECT_EQ(j.island().state(), State::games);
         }},
        {"into the game and out with Escape",
         [&](Journey &j) {
             ASSERT_TRUE(openCard(j, g.game));
             key(j, "Escape");
         },
         [](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.island().activeGame() == Game::hub; }, 3000));
             EXPECT_EQ(j.island().state(), State::games);
         }},
        {"Escape on the arcade closes the island", [](Journey &j) { key(j, "Escape"); },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return j.island().state() == State::collapsed; }, 3000));
             kept = record(j, g);
             if (g.earnsRecord) {
                 EXPECT_FALSE(kept.isEmpty() || kept == "0") << "no record after a game: " << kept.toStdString();
             }
         }},
        {"the program starts again", [](Journey &j) { ASSERT_TRUE(j.restart()); },
         [&](Journey &j) { EXPECT_EQ(record(j, g), kept); }},
        {"the arcade and the game show", [&](Journey &j) {
             ASSERT_TRUE(j.openFromStrip("Games"));
             ASSERT_TRUE(openCard(j, g.game));
         },
         [&](Journey &j) { EXPECT_EQ(boardLaidOut(j, g.game), QStringList()); }},
    });
}

namespace {

// Wordle: words the lists know, typed until the board is done.
void nextWord(Journey &j)
{
    static const char *const words[] = {"crane", "slate", "pious", "dwarf", "nymph", "gecko"};
    QObject *w = j.island().gameEngine(Game::wordle);
    const int row = w->property("row").toInt();
    if (row >= int(std::size(words)))
        return;
    j.hands().type(QString::fromLatin1(words[row]));
    key(j, "Return");
    j.waitFor([&] { return w->property("row").toInt() != row || phase(j, Game::wordle) != "playing"; }, 4000);
}

// Clicks the first empty cell of tic-tac-toe when the user may.
void toeMove(Journey &j)
{
    QObject *toe = j.island().gameEngine(Game::toe);
    if (toe->property("busy").toBool() || phase(j, Game::toe) != "playing")
        return;
    const QList<int> cells = toe->property("cells").value<QList<int>>();
    for (int i = 0; i < cells.size(); ++i) {
        if (cells[i] == 0) {
            j.click(named(j, QStringLiteral("toeCell%1").arg(i)));
            return;
        }
    }
}

// Drops across the columns by digit, one after the other.
void stack4Move(Journey &j)
{
    static int column = 0;
    QObject *s = j.island().gameEngine(Game::stack4);
    if (phase(j, Game::stack4) != "playing" || !s->property("redTurn").toBool())
        return;
    j.hands().key(QString::number(column % 7 + 1));
    column += 3;
    j.waitFor([&] { return phase(j, Game::stack4) != "playing" || !s->property("redTurn").toBool(); }, 1000);
}

// Pattern: a pad the sequence does not start with.
void patternMove(Journey &j)
{
    if (phase(j, Game::pattern) != "input")
        return;
    const QList<int> sequence = j.island().gameEngine(Game::pattern)->property("sequence").value<QList<int>>();
    const int wrong = sequence.isEmpty() ? 0 : (sequence.first() + 1) % 4;
    j.click(named(j, QStringLiteral("pad%1").arg(wrong)));
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    FromTheArcade, Games,
    ::testing::Values(
        GameWalk{"Dino", Game::dino, [](Journey &j) { key(j, "space"); }, "running", nullptr, "dead",
                 [](Journey &j) { key(j, "space"); }, "running", "best", true},
        GameWalk{"Flap", Game::flap, [](Journey &j) { key(j, "Up"); }, "running", nullptr, "dead",
                 [](Journey &j) { key(j, "space"); }, "running", "best", false},
        GameWalk{"Wordle", Game::wordle, [](Journey &) {}, "playing", nextWord, "won|lost",
                 [](Journey &j) {
                     QQuickItem *end = j.text("Next word");
                     j.click(end ? end : j.text("Play again"));
                 },
                 "playing", "played", true},
        GameWalk{"Pong", Game::pong, [](Journey &j) { j.click(named(j, "pongLevel0")); }, "serving|playing", nullptr,
                 "over", [](Journey &j) { j.click(named(j, "pongPlayAgain")); }, "serving|playing", "wins", false, 90},
        GameWalk{"Blocks", Game::blocks, [](Journey &j) { press(j, "Play"); }, "ready|running",
                 [](Journey &j) {
                     key(j, phase(j, Game::blocks) == "ready" ? "Up" : "space");
                 },
                 "over", [](Journey &j) { j.click(named(j, "blocksTap")); }, "ready|running", "best", true},
        GameWalk{"Stack", Game::stack, [](Journey &j) { press(j, "Play"); }, "ready|running",
                 [](Journey &j) { key(j, "space"); }, "over", [](Journey &j) { key(j, "space"); }, "ready|running",
                 "best", false},
        GameWalk{"Reflex", Game::reflex, [](Journey &j) { key(j, "space"); }, "waiting",
                 [](Journey &j) {
                     if (phase(j, Game::reflex) == "go")
                         key(j, "space");
                 },
                 "result", [](Journey &j) { key(j, "space"); }, "waiting", "bestMS", true},
        GameWalk{"TicTacToe", Game::toe, [](Journey &j) { press(j, "Play"); }, "playing", toeMove, "over",
                 [](Journey &j) { press(j, "Play again"); }, "playing", "wins", false},
        GameWalk{"Clicks", Game::cps,
                 [](Journey &j) {
                     press(j, "Play");
                     j.click(named(j, "cpsChip5"));
                     j.click(named(j, "cpsTarget"));
                 },
                 "running",
                 [](Journey &j) {
                     // A click that lands just after the time runs out would
                     // start the next round, so the last half second is left alone.
                     QObject *cps = j.island().gameEngine(Game::cps);
                     if (phase(j, Game::cps) == "running" && cps->property("remaining").toDouble() > 0.5)
                         j.click(named(j, "cpsTarget"));
                 },
                 "result",
                 [](Journey &j) { j.click(named(j, "cpsTarget")); }, "ready", "best/5", true},
        GameWalk{"Snake", Game::snake, [](Journey &j) { press(j, "Play"); }, "ready|running",
                 [](Journey &j) {
                     if (phase(j, Game::snake) == "ready")
                         key(j, "space");
                 },
                 "over", [](Journey &j) { key(j, "space"); }, "ready|running", "best", false},
        GameWalk{"Pattern", Game::pattern, [](Journey &j) { press(j, "Play"); }, "watch|input", patternMove, "over",
                 [](Journey &j) { press(j, "Play again"); }, "watch|input", "best", false},
        GameWalk{"Blackjack", Game::blackjack,
                 [](Journey &j) {
                     press(j, "Play");
                     j.waitFor([&] { return phase(j, Game::blackjack) == "betting"; }, 3000, "the table to take bets");
                     key(j, "Return");
                 },
                 "playing|waiting|settle",
                 [](Journey &j) {
                     if (phase(j, Game::blackjack) == "playing")
                         key(j, "s");
                 },
                 "settle", [](Journey &j) { key(j, "Return"); }, "betting", "best", true},
        GameWalk{"Stack4", Game::stack4, [](Journey &j) { press(j, "Play"); }, "playing", stack4Move, "over",
                 [](Journey &j) { press(j, "Play again"); }, "playing", "wins", false, 60}),
    [](const auto &info) { return std::string(info.param.name); });

// The boards built of repeated pieces, opened again and again from the
// arcade: each time every piece has its size, on the island, clear of the
// others. Game pages load asynchronously, and a busy machine finishes their
// parts in any order; Pattern, whose pads once stayed 0x0, opens every round.
// First the arcade is scrolled to its end and back five times with the wheel
// and must look as it did.
TEST(GameBoards, LaidOutAtEveryOpening)
{
    Journey j({.everyModule = true});
    ASSERT_TRUE(j.start());
    ASSERT_TRUE(j.openFromStrip("Games"));
    QQuickItem *arcade = named(j, "arcade");
    ASSERT_TRUE(arcade && j.ready(arcade));
    j.hands().moveTo(j.screenPoint(arcade), 2);
    // Left of the header's swaying mascot, where the smiles' copies once stayed.
    const auto picture = [&] {
        j.settle();
        return j.panel()->grabWindow().copy(0, 0, j.panel()->width() / 2, j.panel()->height());
    };
    const QImage fresh = picture();
    for (int round = 0; round < 10; ++round) {
        const qreal end = round % 2 ? 0 : arcade->property("contentHeight").toReal() - arcade->height();
        for (int turn = 0; turn < 40 && qAbs(arcade->property("contentY").toReal() - end) > 0.5; ++turn) {
            j.hands().scroll(round % 2 ? 1 : -1);
            j.ready(arcade);
        }
        ASSERT_NEAR(arcade->property("contentY").toReal(), end, 0.5) << "the arcade stopped short";
    }
    EXPECT_TRUE(picture() == fresh) << "the arcade scrolled back differs from the fresh one";
    const QList<Game> others = {Game::cps, Game::toe, Game::stack4, Game::snake, Game::wordle, Game::blocks};
    int openings = 0;
    for (int round = 0; round < 4 && !HasFailure(); ++round) {
        QList<Game> games = {Game::pattern};
        if (round == 0)
            games += others;
        for (Game game : games) {
            walk(j, {
                {"open the game", [&](Journey &j) { ASSERT_TRUE(openCard(j, game)); },
                 [&](Journey &j) { EXPECT_EQ(boardLaidOut(j, game), QStringList()) << gameName(game).toStdString(); }},
                {"back to the arcade with Escape", [](Journey &j) { key(j, "Escape"); },
                 [](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return j.island().activeGame() == Game::hub; }, 3000)); }},
            });
            ++openings;
        }
    }
    std::printf("%d game boards opened, each laid out\n", openings);
}

namespace {

bool settingsShown(Journey &j)
{
    return j.settingsWindow() && j.settingsWindow()->isVisible() && j.settingsWindow()->isExposed();
}

void control(Journey &j, const char *name)
{
    j.hands().key(QString::fromLatin1(name), false, true);
}

} // namespace

// Ctrl+, and Ctrl+Q on the island, as the tray's menu shows them: Ctrl+,
// opens the settings window from Home and from a game, and Ctrl+Q quits
// from a game that types letters, which types neither of them; the game's
// own keys go on typing.
TEST(ProgramKeys, SettingsAndQuitFromHomeAndFromAGame)
{
    Journey j({.everyModule = true});
    ASSERT_TRUE(j.start());
    QSignalSpy quits(&j.root().delegate(), &AppDelegate::quitRequested);
    QObject *wordle = j.island().gameEngine(Game::wordle);
    std::optional<XInput> russian;
    const auto usAgain = qScopeGuard([] { QProcess::execute("setxkbmap", {"us"}); });
    walk(j, {
        {"Ctrl+, on Home", [](Journey &j) {
             ASSERT_TRUE(j.openHome());
             control(j, "comma");
         },
         [](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return settingsShown(j); }, 8000, "the settings window")); }},
        {"the settings window put away", [](Journey &j) { j.settingsWindow()->close(); },
         [](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return !settingsShown(j); }, 3000, "the settings window to go")); }},
        {"a letter typed in Wordle, then Ctrl+,", [&](Journey &j) {
             ASSERT_TRUE(j.openFromStrip("Games"));
             ASSERT_TRUE(openCard(j, Game::wordle));
             key(j, "a");
             ASSERT_TRUE(j.waitFor([&] { return wordle->property("col").toInt() == 1; }, 3000, "the a typed"));
             control(j, "comma");
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return settingsShown(j); }, 8000, "the settings window"));
             EXPECT_EQ(wordle->property("col").toInt(), 1);
         }},
        {"back in Wordle, Ctrl+Q and a letter", [&](Journey &j) {
             j.settingsWindow()->close();
             ASSERT_TRUE(j.collapse());
             ASSERT_TRUE(j.openFromStrip("Games"));
             ASSERT_TRUE(openCard(j, Game::wordle));
             control(j, "q");
             key(j, "b");
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return quits.count() == 1; }, 3000, "the quit"));
             EXPECT_TRUE(j.waitFor([&] { return wordle->property("col").toInt() == 2; }, 3000, "the b typed"));
             const QVariantList tiles = wordle->property("tiles").toList();
             QString typed;
             for (int i = 0; i < 5 && i < tiles.size(); ++i)
                 typed += tiles.at(i).value<WordleTile>().letter;
             EXPECT_EQ(typed.toLower(), "ab");
             EXPECT_EQ(quits.count(), 1);
         }},
        // A layout without Latin letters: the keys count by their places.
        {"Russian alone: 12, C in the calculator, Ctrl+, on Home", [&](Journey &j) {
             ASSERT_EQ(QProcess::execute("setxkbmap", {"ru"}), 0);
             russian.emplace(); // reads the new layout
             ASSERT_TRUE(j.collapse() && j.openFromStrip("Calculator"));
             russian->type("12");
             ASSERT_TRUE(j.waitFor([&] { return j.island().calculator()->display() == "12"; }, 3000, "12"));
             russian->key("Cyrillic_es");
             EXPECT_TRUE(j.waitFor([&] { return j.island().calculator()->display() == "0"; }, 3000, "C"));
             ASSERT_TRUE(j.collapse() && j.openHome());
             russian->key("Cyrillic_be", false, true);
             ASSERT_TRUE(j.waitFor([&] { return settingsShown(j) && j.settingsWindow()->isActive(); }, 8000, "settings"));
         }},
        {"Russian alone: Ctrl+Q and Ctrl+W in the settings window, Ctrl+Q on Home", [&](Journey &j) {
             russian->key("Cyrillic_shorti", false, true);
             russian->key("Cyrillic_tse", false, true);
             EXPECT_TRUE(j.waitFor([&] { return !settingsShown(j); }, 5000, "the settings window to go"));
             ASSERT_TRUE(j.openHome());
             russian->key("Cyrillic_shorti", false, true);
         },
         [&](Journey &j) { EXPECT_TRUE(j.waitFor([&] { return quits.count() == 3; }, 3000, "both quits")); }},
    });
}

namespace {

// Counts the repeats of held keys that reach the island.
class Repeats : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->isAutoRepeat())
            ++count;
        return false;
    }
};

struct HeldKeyWalk {
    const char *name;
    Game game;
    std::function<void(Journey &)> ready; // up to the moment the key goes down
    const char *key;
    const char *ended;
};

class HeldKeys : public ::testing::TestWithParam<HeldKeyWalk> {};

} // namespace

// A key held down until the game ends, as a player keeps Space down: while
// the game runs its repeats steer, once it has ended the result stays
// however long the key is held, and only a fresh press starts again.
TEST_P(HeldKeys, TheResultWaitsForAFreshPress)
{
    const HeldKeyWalk &g = GetParam();
    Journey j({.everyModule = true});
    ASSERT_TRUE(j.start());
    Repeats repeats;
    QString startedAgain;
    walk(j, {
        {"open the game", [&](Journey &j) {
             ASSERT_TRUE(j.openFromStrip("Games"));
             ASSERT_TRUE(openCard(j, g.game));
             g.ready(j);
             j.panel()->installEventFilter(&repeats);
         }},
        {"hold the key until the game ends", [&](Journey &j) {
             j.hands().hold(QString::fromLatin1(g.key), true);
             j.waitFor([&] { return inPhase(j, g.game, g.ended); }, 30000, "the game to end under the held key");
         },
         [&](Journey &j) {
             EXPECT_TRUE(inPhase(j, g.game, g.ended)) << "phase " << phase(j, g.game).toStdString();
             EXPECT_GT(repeats.count, 0) << "the X server repeated nothing while the game ran";
         }},
        {"keep holding it", [&](Journey &j) {
             const int before = repeats.count;
             j.waitFor([&] {
                 if (!inPhase(j, g.game, g.ended))
                     startedAgain = phase(j, g.game);
                 return repeats.count >= before + 10 || !startedAgain.isEmpty();
             }, 5000, "ten more repeats of the held key");
         },
         [&](Journey &) { EXPECT_EQ(startedAgain, QString()) << "a held key started the game again"; }},
        {"let go and press it again", [&](Journey &j) {
             j.hands().hold(QString::fromLatin1(g.key), false);
             key(j, g.key);
         },
         [&](Journey &j) {
             EXPECT_TRUE(j.waitFor([&] { return !inPhase(j, g.game, g.ended); }, 3000))
                 << "phase " << phase(j, g.game).toStdString();
         }},
    });
    j.panel()->removeEventFilter(&repeats);
}

INSTANTIATE_TEST_SUITE_P(
    UntilTheEnd, HeldKeys,
    ::testing::Values(HeldKeyWalk{"FlapSpace", Game::flap, [](Journey &) {}, "space", "dead"},
                      HeldKeyWalk{"SnakeRight", Game::snake, [](Journey &j) { press(j, "Play"); }, "Right", "over"}),
    [](const auto &info) { return std::string(info.param.name); });
