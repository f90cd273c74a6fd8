#include "gamesviewtest.h"

#include "games/blackjackengine.h"
#include "games/gameregistry.h"
#include "games/patternengine.h"
#include "games/stack4engine.h"
#include "games/toeengine.h"
#include "games/wordleengine.h"

#include <QFileInfo>
#include <QFont>
#include <QTest>

using Island::PavletGame;

// Every page of the table opens the view of its game, with the header's
// texts; the back button leads to the arcade, then home.
TEST_F(GamesViewTest, PageTableAndBackButton)
{
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
    model->game<BlackjackEngine>()->startBuyIn(250);
    QMetaObject::invokeMethod(view.get(), "goBack");
    EXPECT_EQ(model->activeGame(), PavletGame::hub);
    EXPECT_EQ(model->state(), NotchState::games);
    QMetaObject::invokeMethod(view.get(), "goBack");
    EXPECT_EQ(model->state(), NotchState::home);
}

namespace {
// The arcade's card delegates, top to bottom.
QList<QQuickItem *> cardsOf(QQuickItem *arcade)
{
    QList<QQuickItem *> cards;
    std::function<void(QQuickItem *)> walk = [&](QQuickItem *item) {
        if (QString::fromLatin1(item->metaObject()->className()).startsWith(QLatin1String("GamePickCard")))
            cards << item;
        else
            for (QQuickItem *child : item->childItems())
                walk(child);
    };
    walk(arcade);
    std::sort(cards.begin(), cards.end(), [](QQuickItem *a, QQuickItem *b) { return a->y() < b->y(); });
    return cards;
}
} // namespace

// Whatever the registry lists opens its own screen with its engine, and its
// card on the arcade shows its picture.
TEST_F(GamesViewTest, EveryRegisteredGameOpensItsScreenAndShowsItsCard)
{
    panel();
    const QList<GameEntry> &games = GameRegistry::games();
    for (const GameEntry &game : games) {
        model->openGame(PavletGame(game.game));
        QQuickItem *shown = page();
        ASSERT_TRUE(shown) << game.id;
        const QString view = QFileInfo(QString::fromLatin1(game.view)).baseName();
        EXPECT_TRUE(QString::fromLatin1(shown->metaObject()->className()).startsWith(view))
            << game.id << " shows " << shown->metaObject()->className();
        EXPECT_EQ(shown->property("engine").value<QObject *>(), model->gameEngine(PavletGame(game.game)))
            << game.id;
    }
    model->openGame(PavletGame::hub);
    const QList<QQuickItem *> cards = cardsOf(page());
    ASSERT_EQ(cards.size(), games.size());
    for (qsizetype i = 0; i < cards.size(); ++i) {
        EXPECT_EQ(cards.at(i)->property("title").toString(), games.at(i).title);
        QQuickItem *picture = named(cards.at(i), "cardPicture");
        ASSERT_TRUE(picture) << games.at(i).id;
        EXPECT_TRUE(picture->property("item").value<QObject *>()) << games.at(i).id;
    }
}

TEST_F(GamesViewTest, ArcadeRecordsAndAccents)
{
    // A first run shows no record column anywhere.
    QQuickItem *root = panel({428, 396});
    model->openGame(PavletGame::hub);
    QQuickItem *arcade = page();
    ASSERT_TRUE(arcade);
    QList<QQuickItem *> cards = cardsOf(arcade);
    ASSERT_EQ(cards.size(), 13);
    for (QQuickItem *card : cards)
        EXPECT_FALSE(shows(card, "record")) << card->property("title").toString().toStdString();
    // Thirteen cards are taller than the page: the column scrolls.
    EXPECT_GT(arcade->property("contentHeight").toDouble(), arcade->height());
    EXPECT_EQ(cards.first()->property("title").toString(), "Pavlet Run");
    EXPECT_EQ(cards.last()->property("title").toString(), "Pavlet Stack4");
    Q_UNUSED(root);
}

TEST_F(GamesViewTest, ArcadeShowsStoredRecordsInTheCustomAccent)
{
    defaults->setInt("pavlet.reflexBest", 187);
    defaults->setDouble("pavlet.cpsBest.10", 7.4);
    defaults->setDouble("pavlet.cpsBest.30", 9.0);
    defaults->setInt("pavlet.snakeBest", 12);
    setCustomAccent(QColor::fromRgbF(0.2f, 0.4f, 0.6f));
    QQuickItem *root = panel({428, 396});
    model->openGame(PavletGame::hub);
    const QList<QQuickItem *> cards = cardsOf(page());
    ASSERT_EQ(cards.size(), 13);
    const QColor custom = QColor::fromRgbF(0.2f, 0.4f, 0.6f);
    const struct {
        int row;
        const char *record;
        const char *label;
        QColor accent;
    } rows[] = {
        {6, "187", "MS", custom},
        {8, "7.4", "CPS", custom},
        {9, "12", "BEST", QColor::fromRgbF(1.0f, 0.48f, 0.42f)},
    };
    for (const auto &r : rows) {
        QQuickItem *card = cards.at(r.row);
        EXPECT_TRUE(shows(card, "record"));
        EXPECT_EQ(card->property("recordText").toString(), r.record);
        EXPECT_EQ(card->property("bestLabel").toString(), r.label);
        EXPECT_EQ(card->property("accent").value<QColor>().rgb(), r.accent.rgb()) << r.record;
    }
    // Pattern and Stack4 keep their own colours as well; the header follows.
    EXPECT_EQ(cards.at(10)->property("accent").value<QColor>().rgb(), QColor::fromRgbF(0.47f, 0.80f, 0.98f).rgb());
    EXPECT_EQ(cards.at(12)->property("accent").value<QColor>().rgb(), QColor::fromRgbF(0.38f, 0.58f, 1.0f).rgb());
    EXPECT_EQ(cards.at(0)->property("accent").value<QColor>().rgb(), custom.rgb());
    EXPECT_EQ(named(root, "gamesSubtitle")->property("color").value<QColor>().rgb(), custom.rgb());

    // A record beaten while the arcade shows is updated in place.
    model->game<BlackjackEngine>()->startBuyIn(1000);
    EXPECT_EQ(cards.at(11)->property("recordText").toString(), "1000");

    // The name and line keep a spacer of at least 8 clear of the record, on
    // top of the row's spacing either side of it.
    for (const auto &r : rows) {
        QQuickItem *card = cards.at(r.row);
        QQuickItem *texts = named(card, "cardTexts");
        QQuickItem *record = named(card, "record");
        ASSERT_TRUE(texts && record);
        EXPECT_GE(record->x() - (texts->x() + texts->width()), 8 + 2 * 12) << r.record;
        // The record is in the rounded face, its digits in cells of one width.
        QQuickItem *value = record->childItems().at(1);
        EXPECT_EQ(value->property("face").value<QFont>().family(), "Quicksand");
        EXPECT_GT(value->property("digitWidth").toDouble(), 0) << r.record;
    }
}

// Numbers in the rounded face take the same width whatever their digits,
// and the words around them keep the face.
TEST_F(GamesViewTest, TabularTextGivesEveryDigitOneWidth)
{
    auto line = [&](const QString &text) {
        auto item = qml.create("games/TabularText.qml", {{"text", text}});
        auto *quick = qobject_cast<QQuickItem *>(item.get());
        return std::make_pair(std::move(item), quick ? quick->implicitWidth() : -1.0);
    };
    const struct {
        const char *a;
        const char *b;
    } same[] = {{"111", "888"}, {"Best 10", "Best 97"}, {"Apples 1  \u00b7  Best 4", "Apples 7  \u00b7  Best 0"}};
    for (const auto &row : same) {
        const auto [ia, a] = line(QString::fromUtf8(row.a));
        const auto [ib, b] = line(QString::fromUtf8(row.b));
        EXPECT_GT(a, 0) << row.a;
        EXPECT_DOUBLE_EQ(a, b) << row.a << " / " << row.b;
    }
    const auto [one, w1] = line("1");
    const auto [two, w11] = line("11");
    EXPECT_DOUBLE_EQ(w11, 2 * w1);
    EXPECT_EQ(one->property("face").value<QFont>().family(), "Quicksand");
    EXPECT_EQ(one->property("text").toString(), "1");
}

// The shapes of the board games drawn as they are meant: the O's ring
// centred on its circle and a disc dimmed in its fill only.
TEST_F(GamesViewTest, RingAndDiscShapes)
{
    for (double size : {10.0, 28.0}) {
        auto glyph = qml.create("games/ToeGlyph.qml", {{"mark", 2}, {"size", size}});
        ASSERT_TRUE(glyph);
        QQuickItem *ring = named(qobject_cast<QQuickItem *>(glyph.get()), "toeRing");
        ASSERT_TRUE(ring);
        const double line = std::max(size * 0.1, 2.4);
        EXPECT_DOUBLE_EQ(ring->property("line").toDouble(), line);
        // The stroke's middle runs on the circle of 0.72 of the size, and the
        // whole stroke fits the item.
        EXPECT_DOUBLE_EQ(ring->property("circle").toDouble(), size * 0.72) << size;
        EXPECT_GE(ring->width(), size * 0.72 + line) << size;
    }

    panel();
    model->openGame(PavletGame::stack4);
    QQuickItem *board = page();
    ASSERT_TRUE(board);
    model->game<Stack4Engine>()->setVersusLocal();
    model->game<Stack4Engine>()->setPhase(Stack4Engine::Phase::playing);
    model->game<Stack4Engine>()->drop(3);
    advance(2000);
    QQuickItem *disc = named(board, "disc18");
    QQuickItem *empty = named(board, "disc19");
    ASSERT_TRUE(disc && empty);
    EXPECT_EQ(model->game<Stack4Engine>()->board()[18], Stack4Engine::Slot::red);
    EXPECT_DOUBLE_EQ(disc->opacity(), 1);
    EXPECT_NEAR(disc->property("color").value<QColor>().alphaF(), 0.92, 0.005);
    EXPECT_NEAR(disc->property("border").value<QObject *>()->property("color").value<QColor>().alphaF(), 0.12, 0.005);
    EXPECT_NEAR(empty->property("color").value<QColor>().alphaF(), 0.38, 0.005);
}

TEST_F(GamesViewTest, PointerOnThePanelCancelsAPendingHover)
{
    QQuickItem *root = panel({428, 396});
    model->openGame(PavletGame::hub);
    model->collapse();
    model->pointerEntered();
    ASSERT_NE(model->pendingHover(), PendingHover::none);
    QTest::mouseMove(window.get(), QPoint(200, 200));
    waitUntil([&] { return model->pendingHover() == PendingHover::none; }, 1000);
    EXPECT_EQ(model->pendingHover(), PendingHover::none);
    Q_UNUSED(root);
}

TEST_F(GamesViewTest, TicTacToeWinsLinesAndTheHowToCard)
{
    defaults->setInt("pavlet.toeWins", 2);
    panel({440, 396});
    model->openGame(PavletGame::toe);
    QQuickItem *toe = page();
    ASSERT_TRUE(toe);
    EXPECT_TRUE(shows(toe, "toeHowTo"));
    EXPECT_EQ(text(toe, "toeTurn"), "Tic-Tac-Toe");

    model->game<ToeEngine>()->setVersusLocal();
    model->game<ToeEngine>()->start();
    EXPECT_FALSE(shows(toe, "toeHowTo"));
    EXPECT_EQ(text(toe, "toeTurn"), QStringLiteral("Red\u2019s turn"));
    for (int cell : {0, 3, 1, 4, 2})
        model->game<ToeEngine>()->play(cell);
    EXPECT_TRUE(shows(toe, "toeResult"));
    EXPECT_TRUE(allText(named(toe, "toeResult")).contains("Red takes it"));
    // After a local game only the header shows the stored wins.
    EXPECT_TRUE(shows(toe, "toeWins"));
    EXPECT_EQ(text(toe, "toeWins"), "Wins 2");
    EXPECT_FALSE(shows(toe, "toeResultWins"));

    // Leaving the page stops a pending computer move.
    model->game<ToeEngine>()->setVersusNpc("hard");
    model->game<ToeEngine>()->start();
    model->game<ToeEngine>()->play(4);
    ASSERT_TRUE(model->game<ToeEngine>()->busy());
    view->property("currentFrame").value<QQuickItem *>()->setProperty("current", false);
    EXPECT_FALSE(model->game<ToeEngine>()->busy());
}

TEST_F(GamesViewTest, WordGameHeaderButtonAndKeys)
{
    setCustomAccent(QColor::fromRgbF(0.1f, 0.9f, 0.5f));
    const QColor custom = QColor::fromRgbF(0.1f, 0.9f, 0.5f);
    panel({400, 432});
    model->game<WordleEngine>()->setAnswer("crane");
    model->openGame(PavletGame::wordle);
    QQuickItem *wordle = page();
    ASSERT_TRUE(wordle);
    EXPECT_EQ(text(wordle, "wordleMessage"), "Guess the word");
    EXPECT_EQ(text(wordle, "wordleScore"), "0/0");
    EXPECT_EQ(named(wordle, "wordleMessage")->property("color").value<QColor>().rgb(), custom.rgb());
    EXPECT_FALSE(shows(wordle, "wordleEnd"));

    // An absent letter's key is grey and still types.
    for (const char *word : {"slate", "pilot", "mound", "fudge", "house", "jumpy"}) {
        for (const char c : QByteArray(word))
            QMetaObject::invokeMethod(named(wordle, QStringLiteral("key_") + QChar(c)), "clicked");
        model->game<WordleEngine>()->submit();
        scheduler->advance(2000);
    }
    ASSERT_EQ(model->game<WordleEngine>()->phase(), WordlePhase::lost);
    EXPECT_EQ(named(wordle, "key_s")->property("fill").value<QColor>(), QColor::fromRgbF(0.23f, 0.23f, 0.24f));
    EXPECT_EQ(text(wordle, "wordleMessage"), "CRANE");
    EXPECT_EQ(named(wordle, "wordleMessage")->property("color").value<QColor>().rgb(), custom.rgb());
    EXPECT_TRUE(shows(wordle, "wordleEnd"));
    EXPECT_TRUE(allText(named(wordle, "wordleEnd")).contains("Next word"));

    model->game<WordleEngine>()->newGame();
    model->game<WordleEngine>()->setAnswer("crane");
    QMetaObject::invokeMethod(named(wordle, "key_s"), "clicked");
    EXPECT_EQ(model->game<WordleEngine>()->col(), 1);
    customAccentOff();
    EXPECT_EQ(named(wordle, "wordleMessage")->property("color").value<QColor>().rgb(),
              QColor::fromRgbF(1.0f, 0.84f, 0.40f).rgb());
}

TEST_F(GamesViewTest, PatternPadsLiveOnlyForInput)
{
    panel({440, 372});
    model->openGame(PavletGame::pattern);
    QQuickItem *pattern = page();
    ASSERT_TRUE(pattern);
    EXPECT_FALSE(shows(pattern, "patternBest"));
    model->game<PatternEngine>()->newGame();
    scheduler->advance(PatternEngine::LeadInMs + 10);
    ASSERT_EQ(model->game<PatternEngine>()->phase(), PatternEngine::Phase::watch);
    auto padArea = [&](int hue) { return named(pattern, QStringLiteral("pad%1").arg(hue))->childItems().first(); };
    for (int hue = 0; hue < 4; ++hue)
        EXPECT_FALSE(padArea(hue)->property("enabled").toBool());
    scheduler->advance(5000);
    ASSERT_EQ(model->game<PatternEngine>()->phase(), PatternEngine::Phase::input);
    EXPECT_TRUE(padArea(0)->property("enabled").toBool());
    const int wrong = model->game<PatternEngine>()->sequence().at(0) == PatternHue::gold ? 1 : 0;
    QQuickItem *pad = named(pattern, QStringLiteral("pad%1").arg(wrong));
    QTest::mouseClick(window.get(), Qt::LeftButton, {},
                      pad->mapToScene(QPointF(pad->width() / 2, pad->height() / 2)).toPoint());
    ASSERT_EQ(model->game<PatternEngine>()->phase(), PatternEngine::Phase::over);
    for (int hue = 0; hue < 4; ++hue)
        EXPECT_FALSE(named(pattern, QStringLiteral("pad%1").arg(hue))->property("lit").toBool());
    EXPECT_TRUE(shows(pattern, "patternOver"));
    EXPECT_EQ(text(pattern, "patternStatus"), "Round 1");
}

TEST_F(GamesViewTest, HowToCardButtonAndWrapping)
{
    window = std::make_unique<QQuickWindow>();
    const QString detail = QStringLiteral("A long line on how to play that goes on and on, well past what one "
                                          "line of a narrow card can hold, so that it has to wrap.");
    auto card = qml.create("games/ArcadeHowTo.qml", {{"title", "Title"}, {"detail", detail}, {"width", 440},
                                                     {"height", 300}});
    auto *item = qobject_cast<QQuickItem *>(card.get());
    ASSERT_TRUE(item);
    item->setParentItem(window->contentItem());
    EXPECT_FALSE(shows(item, "howToAction"));
    QQuickItem *text = named(item, "howToDetail");
    EXPECT_LE(text->width(), 320 - 32);
    EXPECT_GT(text->property("lineCount").toInt(), 1);
    EXPECT_FALSE(text->property("truncated").toBool());
    EXPECT_TRUE(text->isVisible());
    item->setProperty("hasAction", true);
    EXPECT_TRUE(shows(item, "howToAction"));
}
