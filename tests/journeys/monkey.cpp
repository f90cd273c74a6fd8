#include "journey.h"

#include "island/notchviewmodel.h"
#include "notch/notchpanel.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMetaEnum>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <random>

namespace {

// The process's resident memory in MB.
double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

quint32 chosenSeed()
{
    bool ok = false;
    const quint32 seed = qEnvironmentVariable("PAVLET_MONKEY_SEED").toUInt(&ok);
    return ok ? seed : QRandomGenerator::system()->generate();
}

int chosenSeconds()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("PAVLET_MONKEY_SECONDS", &ok);
    return ok && seconds > 0 ? seconds : 60;
}

// Random hands on the island and on whatever it opens. Steps run from a
// timer, so that they go on inside a dialog's own event loop too, as a
// user's would; every few dozen steps the island must close again with
// Escape and a click outside, and then nothing may record or film.
class Monkey {
public:
    Monkey(Journey &journey, quint32 seed)
        : j(journey)
        , rng(seed)
    {
    }

    // One step.
    void step()
    {
        ++steps;
        const Island::NotchState state = j.island().state();
        states.insert(int(state));
        const int game = state == Island::NotchState::games ? int(j.island().activeGame()) : -1;
        if (game != shownGame)
            shownSince = steps;
        shownGame = game;
        if (game >= 0)
            games.insert(game);
        // The strip's entry clicked last did open its panel.
        if (!lastEntry.isEmpty() && Island::fromHomeOn(state) && state != Island::NotchState::home) {
            opened.insert(lastEntry);
            lastEntry.clear();
        }
        if (checking) {
            checkCollapsed();
            return;
        }
        if (visiting) {
            visit();
            return;
        }
        // A walk through the arcade's games not played yet goes on a while
        // before the island has to close.
        const bool touring = state == Island::NotchState::games
                             && games.size() < QMetaEnum::fromType<Island::PavletGame>().keyCount()
                             && steps - checkedAt < 400;
        if (steps - checkedAt >= 30 && !touring) {
            // A click on the closed island acts once its double-click window
            // has passed; the check starts after that.
            if (j.island().hasPendingClick())
                return;
            checkedAt = steps;
            beginCheck();
            return;
        }
        act();
    }

    // A few random steps where the island is now, without the walk's
    // closing checks.
    void wander(int count)
    {
        // From a timer, as the walk's steps, so that a dialog's own loop
        // never waits on them.
        int done = 0;
        QTimer timer;
        timer.setInterval(40);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (done >= count || ::testing::Test::HasFailure())
                return;
            ++done;
            const Island::NotchState state = j.island().state();
            states.insert(int(state));
            if (state == Island::NotchState::games)
                games.insert(int(j.island().activeGame()));
            act();
        });
        j.hands().setSpinning(false);
        timer.start();
        while (done < count && !::testing::Test::HasFailure())
            XInput::pause(20);
        timer.stop();
        j.hands().setSpinning(true);
    }

    int steps = 0;
    int checks = 0;
    // The island states and game pages the walk has seen.
    QSet<int> states;
    QSet<int> games;

private:
    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(rng); }

    QPoint somewhereOnIsland()
    {
        const QRectF f = j.panel()->islandFrameOnScreen().adjusted(2, 2, -2, -2);
        return QPoint(int(f.left() + pick(std::max(1, int(f.width())))),
                      int(f.top() + pick(std::max(1, int(f.height())))));
    }

    void act()
    {
        XInput &h = j.hands();
        if (j.island().state() == Island::NotchState::collapsed && pick(3) > 0) {
            approachIsland();
            return;
        }
        // On the arcade, often a game's card, one not played yet first; a
        // game played for a moment goes back to the arcade while others
        // wait for their turn.
        const bool gamesLeft = games.size() < QMetaEnum::fromType<Island::PavletGame>().keyCount();
        if (j.island().state() == Island::NotchState::games) {
            if (j.island().activeGame() == Island::PavletGame::hub && (gamesLeft || pick(2) == 0) && openGameCard())
                return;
            if (j.island().activeGame() != Island::PavletGame::hub && gamesLeft && steps - shownSince > 12) {
                h.key(QStringLiteral("Escape"));
                return;
            }
        }
        static const char *const keys[] = {"Escape", "Return", "Tab", "BackSpace", "Left", "Right", "Up", "Down",
                                           "space", "1", "5", "a", "w", "plus", "minus", "period"};
        static const char *const words[] = {"hello", "1:30", "42", "Tokyo", "abc def", "3/4+1", "x"};
        switch (pick(20)) {
        case 0: case 1: case 2: case 3: case 4: case 5: case 6:
            h.click(somewhereOnIsland());
            break;
        case 7: case 8:
            h.moveTo(somewhereOnIsland(), 4);
            break;
        case 9: case 10:
            h.drag(somewhereOnIsland(), somewhereOnIsland(), 6);
            break;
        case 11:
            h.moveTo(somewhereOnIsland(), 2);
            h.scroll(pick(2) ? 2 : -2);
            break;
        case 12: case 13: case 14: {
            const int k = pick(int(std::size(keys)));
            // Escape alone closes most of what a walk has opened: rarer.
            if (k == 0 && pick(3))
                break;
            h.key(QString::fromLatin1(keys[k]));
            break;
        }
        case 15: case 16:
            h.type(QString::fromLatin1(words[pick(int(std::size(words)))]));
            break;
        case 17:
            h.click(j.desktopPoint());
            break;
        default:
            h.click(somewhereOnIsland());
            break;
        }
    }

    // Clicks the card of a game not played yet (or any), scrolling the
    // arcade first when the card is out of sight; false without cards.
    bool openGameCard()
    {
        const QList<QQuickItem *> cards =
            j.items("GamePickCard", [](QQuickItem *i) { return i->isVisible() && i->width() > 10; });
        if (cards.isEmpty())
            return false;
        QList<QQuickItem *> fresh;
        for (QQuickItem *card : cards) {
            if (!games.contains(card->property("game").toInt()))
                fresh << card;
        }
        QQuickItem *card = fresh.isEmpty() ? cards[pick(int(cards.size()))] : fresh.first();
        const QRectF island = j.panel()->islandFrameOnScreen().adjusted(0, 8, 0, -8);
        const QPoint at = j.screenPoint(card);
        if (!island.contains(at)) {
            j.hands().moveTo(island.center().toPoint(), 2);
            j.hands().scroll(at.y() > island.bottom() ? -1 : 1);
            return true;
        }
        j.hands().click(at);
        return true;
    }

    void beginCheck()
    {
        XInput &h = j.hands();
        for (int i = 0; i < 3; ++i)
            h.key(QStringLiteral("Escape"));
        h.click(j.desktopPoint());
        checking = true;
        checkSince.start();
    }

    void checkCollapsed()
    {
        if (j.island().state() != Island::NotchState::collapsed) {
            // A dialog that showed only after the Escapes holds the island
            // open: it gets an Escape of its own, and the check starts over.
            if (const Journey::Dialog dialog = j.shownDialog(); dialog && dialogEscapes < 3) {
                if (!j.dialogHasKeys(dialog) && checkSince.elapsed() < 2000) {
                    j.giveKeysTo(dialog);
                    return;
                }
                ++dialogEscapes;
                j.hands().key(QStringLiteral("Escape"));
                beginCheck();
                return;
            }
            if (checkSince.elapsed() < 6000)
                return;
            ADD_FAILURE() << "Escape three times and a click outside left the island open at step " << steps
                          << "\n" << j.report().toStdString();
            j.shot(QStringLiteral("monkey-not-closed"));
        } else {
            // The closing panel lets go of the microphone as it leaves: the
            // check comes back on later ticks, with the event loop running,
            // for up to two seconds after the island collapsed.
            if (!collapsedSince.isValid())
                collapsedSince.start();
            const QStringList busy = j.stillRecording();
            if (!busy.isEmpty() && collapsedSince.elapsed() < 2000)
                return;
            EXPECT_TRUE(busy.isEmpty()) << "after collapsing at step " << steps << ": "
                                        << busy.join("; ").toStdString();
            collapsedSince.invalidate();
        }
        checking = false;
        dialogEscapes = 0;
        ++checks;
        // Most walks then start from a panel or a game of the strip, so that
        // every one of them gets visited.
        visiting = pick(4) > 0 || opened.size() < 7
                   || games.size() < QMetaEnum::fromType<Island::PavletGame>().keyCount();
    }

    // The pointer goes onto the island, and (a step later, once the
    // island's pointer poll has seen it there) clicks it: Home opens.
    void approachIsland()
    {
        XInput &h = j.hands();
        const QPoint at = j.islandPoint();
        if (h.position() != at) {
            h.moveTo(at, 3);
            return;
        }
        // A second click within a moment would be a double click: give
        // the first its time to open Home.
        if (clickedIslandAt >= 0 && steps - clickedIslandAt < 20)
            return;
        if (j.island().state() == Island::NotchState::hover || j.island().state() == Island::NotchState::collapsed) {
            h.click(at);
            clickedIslandAt = steps;
        }
    }

    // Opens Home, then one of the strip's icons (through its menu when the
    // strip is one).
    void visit()
    {
        XInput &h = j.hands();
        if (j.island().state() != Island::NotchState::home) {
            if (visitStage > 0 || ++visitTries > 40) {
                visiting = false;
                visitStage = visitTries = 0;
                return;
            }
            // A walk that turned Pavlet Lock on lifts it to get to Home.
            if (j.island().gameModeOn()) {
                if (steps - unlockedAt > 25) {
                    j.hands().key(QStringLiteral("g"), false, true, true);
                    unlockedAt = steps;
                }
                return;
            }
            approachIsland();
            return;
        }
        if (visitStage == 0) {
            visitStage = 1;
            if (QQuickItem *menu = j.item("IslandIconButton",
                                          [](QQuickItem *i) { return i->property("help").toString() == "Modules"; });
                menu && menu->isVisible()) {
                h.click(j.screenPoint(menu));
                return;
            }
            const QList<QQuickItem *> cells = j.items("QQuickItem", [](QQuickItem *i) {
                return i->property("modelData").isValid() && i->parentItem()
                    && QByteArray(i->parentItem()->metaObject()->className()).startsWith("QQuickRow")
                    && i->isVisible() && i->width() > 10;
            });
            if (!cells.isEmpty())
                h.click(j.screenPoint(freshFirst(cells, [](QQuickItem *i) { return cellTitle(i); })));
            visiting = false;
            visitStage = visitTries = 0;
            return;
        }
        const QList<QQuickItem *> entries =
            j.items("QQuickMenuItem", [](QQuickItem *i) { return i->isVisible() && i->height() > 4; });
        // The menu opens over a few frames: its entries are clicked once
        // they stand still.
        const QPoint last = entries.isEmpty() ? QPoint() : j.screenPoint(entries.last());
        if (visitStage < 12 && (entries.isEmpty() || last != menuEnd || visitStage < 4)) {
            menuEnd = last;
            ++visitStage;
            return;
        }
        if (!entries.isEmpty())
            h.click(j.screenPoint(freshFirst(entries, [](QQuickItem *i) { return i->property("text").toString(); })));
        visiting = false;
        visitStage = visitTries = 0;
    }

    // The title of a strip's cell.
    static QString cellTitle(QQuickItem *cell)
    {
        const QVariant data = cell->property("modelData");
        const QMetaObject *meta = data.metaType().metaObject();
        return meta ? meta->property(meta->indexOfProperty("title")).readOnGadget(data.constData()).toString()
                    : QString();
    }

    // One of the items whose panel the walk has not opened yet, else the
    // games while some are left, else any.
    QQuickItem *freshFirst(const QList<QQuickItem *> &items, const std::function<QString(QQuickItem *)> &title)
    {
        static const QStringList panels = {"Canvas", "Mirror", "Games", "Calculator", "Pocket", "Voice memos",
                                           "Translator"};
        QList<QQuickItem *> fresh;
        for (QQuickItem *i : items) {
            if (panels.contains(title(i)) && !opened.contains(title(i)))
                fresh << i;
        }
        if (fresh.isEmpty() && games.size() < QMetaEnum::fromType<Island::PavletGame>().keyCount()) {
            for (QQuickItem *i : items) {
                if (title(i) == QLatin1String("Games"))
                    fresh << i;
            }
        }
        QQuickItem *chosen = fresh.isEmpty() ? items[pick(int(items.size()))] : fresh[pick(int(fresh.size()))];
        lastEntry = title(chosen);
        return chosen;
    }

    Journey &j;
    std::mt19937 rng;
    // The strip's entries that opened their panel, and the one clicked last.
    QSet<QString> opened;
    QString lastEntry;
    // The game page shown (-1 outside the games), since which step.
    int shownGame = -1;
    int shownSince = 0;
    QPoint menuEnd;
    int checkedAt = 0;
    bool checking = false;
    bool visiting = false;
    int visitTries = 0;
    int visitStage = 0;
    int clickedIslandAt = -1;
    int dialogEscapes = 0;
    int unlockedAt = -100;
    QElapsedTimer checkSince;
    QElapsedTimer collapsedSince;
};

TEST(Monkey, WandersOverTheIslandAndEverythingItOpens)
{
    const quint32 seed = chosenSeed();
    const int seconds = chosenSeconds();
    std::printf("monkey seed %u for %d s (replay: PAVLET_MONKEY_SEED=%u)\n", seed, seconds, seed);
    std::fflush(stdout);
    RecordProperty("seed", std::to_string(seed));

    Journey j({.everyModule = true});
    ASSERT_TRUE(j.start());
    j.hands().setSpinning(false);
    Monkey monkey(j, seed);

    const double startMb = residentMb();
    double peakMb = startMb;
    QTimer timer;
    timer.setInterval(40);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!HasFailure())
            monkey.step();
        peakMb = std::max(peakMb, residentMb());
    });
    timer.start();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000 && !HasFailure())
        XInput::pause(50);
    timer.stop();
    j.hands().setSpinning(true);

    QStringList visitNotes;
    // What the random walk did not reach gets a visit of its own: its panel
    // or game opened from the strip, and a few random steps there.
    if (!HasFailure()) {
        const QList<std::pair<Island::NotchState, const char *>> panels = {
            {Island::NotchState::canvas, "Canvas"},         {Island::NotchState::mirror, "Mirror"},
            {Island::NotchState::games, "Games"},           {Island::NotchState::calculator, "Calculator"},
            {Island::NotchState::pocket, "Pocket"},         {Island::NotchState::voice, "Voice memos"},
            {Island::NotchState::translator, "Translator"}};
        for (const auto &[state, title] : panels) {
            if (monkey.states.contains(int(state)) || HasFailure() || visitNotes.size() >= 3)
                continue;
            j.collapse();
            if (j.openFromStrip(QString::fromLatin1(title)))
                monkey.wander(15);
            else
                visitNotes << j.report();
        }
        const int gameCount = QMetaEnum::fromType<Island::PavletGame>().keyCount();
        // Three visits gone wrong are enough to tell what is wrong.
        for (int g = int(Island::PavletGame::dino); g < gameCount && !HasFailure() && visitNotes.size() < 3; ++g) {
            if (monkey.games.contains(g))
                continue;
            // The arcade may open on the game played last: back to its
            // cards first.
            j.collapse();
            if (!j.openFromStrip(QStringLiteral("Games"))) {
                visitNotes << j.report();
                continue;
            }
            if (j.island().activeGame() != Island::PavletGame::hub) {
                j.hands().key(QStringLiteral("Escape"));
                j.waitFor([&] { return j.island().activeGame() == Island::PavletGame::hub; }, 3000,
                          QStringLiteral("the arcade's cards"));
            }
            QQuickItem *card = nullptr;
            if (!j.waitFor([&] {
                    return card = j.item("GamePickCard", [&](QQuickItem *i) {
                        return i->property("game").toInt() == g && i->isVisible();
                    });
                }, 3000, QStringLiteral("the card of game %1").arg(g))) {
                visitNotes << j.report();
                continue;
            }
            j.click(card);
            if (j.waitFor([&] { return int(j.island().activeGame()) == g; }, 3000,
                          QStringLiteral("game %1 to open from its card").arg(g)))
                monkey.games.insert(g);
            else
                visitNotes << j.report();
            monkey.wander(15);
        }
    }

    // However the walk ended, the island closes and nothing records.
    if (!j.collapse()) {
        ADD_FAILURE() << "the island did not close after the walk, seed " << seed << "\n" << j.report().toStdString();
        j.shot(QStringLiteral("monkey-not-closed"));
    }
    EXPECT_TRUE(j.stillRecording().isEmpty()) << "seed " << seed;
    // Memory stays within reach of where it started.
    EXPECT_LT(peakMb, startMb + 600) << "seed " << seed;
    std::printf("monkey seed %u: %d steps, %d collapse checks, %d island states and %d game pages seen, memory %.0f MB "
                "at start, %.0f MB at most\n",
                seed, monkey.steps, monkey.checks, int(monkey.states.size()), int(monkey.games.size()), startMb, peakMb);
    // Every panel of the strip and every game got its visit, in the walk
    // or after it (a walk stopped by a failure has not finished).
    const bool finished = !HasFailure();
    QStringList missed;
    const QMetaEnum stateNames = QMetaEnum::fromType<Island::NotchState>();
    for (int s = int(Island::NotchState::canvas); s <= int(Island::NotchState::translator); ++s) {
        if (!monkey.states.contains(s))
            missed << QString::fromLatin1(stateNames.valueToKey(s));
    }
    const QMetaEnum gameNames = QMetaEnum::fromType<Island::PavletGame>();
    for (int g = int(Island::PavletGame::dino); g < gameNames.keyCount(); ++g) {
        if (!monkey.games.contains(g))
            missed << QString::fromLatin1(gameNames.valueToKey(g));
    }
    EXPECT_TRUE(!finished || missed.isEmpty()) << "seed " << seed << ": never visited " << missed.join(", ").toStdString()
                                             << "\n" << visitNotes.join("\n---\n").toStdString();
    if (HasFailure())
        std::printf("replay with PAVLET_MONKEY_SEED=%u\n", seed);
}

} // namespace
