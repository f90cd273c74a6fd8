#include "gamescene.h"
#include "games/blackjackengine.h"
#include "core/keycodes.h"
#include "core/keyinput.h"
#include "games/patternengine.h"
#include "games/stack4engine.h"
#include "games/toeengine.h"
#include "games/wordleengine.h"
#include "support/itemtree.h"

#include "support/patience.h"

#include <QPointer>
#include <QTest>
#include <QtMath>
#include <cmath>

// Draws the island in its games state over a stand-in desktop, through the
// real model, and writes the pictures to $PAVLET_SCREENSHOT_DIR when set.
namespace {
bool near(const QColor &a, const QColor &b, int tolerance = 40)
{
    return Screenshots::near(a, b, tolerance);
}
} // namespace

class GameScreenshotTest : public GameSceneTest {
protected:
    GameScreenshotTest()
        : GameSceneTest(520)
    {
    }

    // Opens a game through the model and sizes the island as the window
    // controller does for it.
    void open(PavletGame game)
    {
        model->openGame(game);
        fitIsland();
        // Pages load off the frame; a busy machine takes a while to show one.
        EXPECT_TRUE(Patience::until([&] {
            for (QQuickItem *frame : ItemTree::all(scene.get(), "QQuickItem")) {
                if (frame->property("page") == int(game) && frame->property("current").toBool()
                    && frame->property("view").value<QQuickItem *>() && frame->opacity() == 1)
                    return true;
            }
            return false;
        }, 10000));
    }
    void fitIsland() { GameSceneTest::fitIsland(model->activeGame()); }
    // The O rings drawn at full strength in the picture; each must be blue
    // wherever its line covers a whole pixel, its inner edge included (no
    // dark notch). Rings dimmed off a winning line count as blue too.
    int wholeRings(const QImage &image)
    {
        int rings = 0;
        for (QQuickItem *ring : ItemTree::all(scene.get(), "QQuickItem")) {
            if (ring->objectName() != QLatin1String("toeRing") || ItemTree::effectiveOpacity(ring) < 1)
                continue;
            ++rings;
            const QPointF centre = ring->mapToScene(QPointF(ring->width() / 2, ring->height() / 2));
            const double mid = ring->property("circle").toDouble() / 2;
            const double half = ring->property("line").toDouble() / 2;
            const QRect box = ItemTree::sceneRect(ring).toAlignedRect();
            int covered = 0;
            for (int y = box.top(); y <= box.bottom(); ++y) {
                for (int x = box.left(); x <= box.right(); ++x) {
                    const double d = std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y());
                    if (std::abs(d - mid) > half - 0.75)
                        continue;
                    ++covered;
                    const QColor seen = image.pixelColor(x, y);
                    EXPECT_TRUE(seen.blue() > 80 && seen.blue() > seen.red() + 40)
                        << "ring of " << mid * 2 << " at " << x << "," << y << ": " << seen.name().toStdString();
                }
            }
            EXPECT_GT(covered, 8);
        }
        return rings;
    }
    // Lets the fake scheduler's pending steps run, then waits for the picture
    // to settle.
    QImage shoot(const QString &name, int settleMs = 700) { return GameSceneTest::shoot(name, settleMs, 120, 40); }
    void click(QPoint at)
    {
        QTest::mouseClick(window.get(), Qt::LeftButton, Qt::NoModifier, at);
    }
    void key(int code, const QString &text = {})
    {
        KeyInput input;
        input.keyCode = code;
        input.text = text;
        model->handleGameKey(input);
    }
    static QQuickItem *find(QQuickItem *item, const QString &name)
    {
        if (!item)
            return nullptr;
        if (item->objectName() == name)
            return item;
        for (QQuickItem *child : item->childItems()) {
            if (QQuickItem *found = find(child, name))
                return found;
        }
        return nullptr;
    }
    // The shown chip titled title, clicked in the middle once it has come
    // to rest (a page's chips fade and slide in, the last page's out).
    bool clickChip(const QString &title)
    {
        QPointer<QQuickItem> chip;
        QString why;
        const bool ready = Patience::until([&] {
            chip = visibleChip(scene.get(), [&](const QString &t) { return t == title; });
            return chip && Patience::ready(chip, 1000, &why);
        }, 2000);
        if (!ready) {
            ADD_FAILURE() << title.toStdString() << ": " << (chip ? why.toStdString() : "no such chip shows");
            return false;
        }
        click(chip->mapToScene(QPointF(chip->width() / 2, chip->height() / 2)).toPoint());
        return true;
    }
    // How many shown chips have a title starting with prefix and a number after it.
    int visibleChips(const QString &prefix)
    {
        int n = 0;
        visibleChip(scene.get(), [&](const QString &t) {
            bool number = false;
            t.mid(prefix.size()).toInt(&number);
            n += t.startsWith(prefix) && number;
            return false;
        });
        return n;
    }
    static QQuickItem *visibleChip(QQuickItem *item, const std::function<bool(const QString &)> &match)
    {
        if (!item || !item->isVisible() || item->opacity() == 0)
            return nullptr;
        if (item->metaObject()->indexOfProperty("selected") >= 0
            && match(item->property("title").toString()))
            return item;
        for (QQuickItem *child : item->childItems()) {
            if (QQuickItem *found = visibleChip(child, match))
                return found;
        }
        return nullptr;
    }
    // Whether some pixel inside r is close to colour.
    static bool anyNear(const QImage &image, const QRect &r, const QColor &colour, int tolerance = 30)
    {
        return Screenshots::anyNear(image, r, colour, tolerance);
    }

    const QColor gold = QColor::fromRgbF(1.0f, 0.84f, 0.40f);
    const QColor red = QColor::fromRgbF(0.94f, 0.32f, 0.32f);
    const QColor blue = QColor::fromRgbF(0.38f, 0.58f, 1.0f);
};

TEST_F(GameScreenshotTest, ArcadeThenAGameByClick)
{
    model->game<WordleEngine>()->finish(true);
    open(PavletGame::hub);
    QImage image = shoot("games-hub");
    const QRect r = island();
    ASSERT_FALSE(image.isNull());
    // The header's subtitle and mascot are gold; the page is black.
    EXPECT_TRUE(anyNear(image, QRect(r.left() + 40, r.top() + 32, 200, 40), gold));
    EXPECT_TRUE(anyNear(image, QRect(r.right() - 60, r.top() + 32, 50, 40), gold));
    EXPECT_TRUE(near(image.pixelColor(r.center().x(), r.bottom() - 4), Qt::black, 12));

    // The column scrolls to the last card.
    auto *arcade = scene->findChild<QQuickItem *>(QStringLiteral("arcade"));
    ASSERT_TRUE(arcade);
    arcade->setProperty("contentY", arcade->property("contentHeight").toDouble() - arcade->height());
    image = shoot("games-hub-end");
    EXPECT_TRUE(anyNear(image, r, blue, 20)); // the connect-four discs
    arcade->setProperty("contentY", 0);

    // A click on the first card opens the runner.
    click(QPoint(r.center().x(), r.top() + 32 + 36 + 10 + 30));
    EXPECT_TRUE(Patience::until([&] { return model->activeGame() == PavletGame::dino; }, 2000));
}

TEST_F(GameScreenshotTest, TicTacToe)
{
    open(PavletGame::toe);
    QImage image = shoot("toe-howto");
    EXPECT_TRUE(anyNear(image, island().adjusted(0, 60, 0, 0), gold));
    EXPECT_GT(wholeRings(image), 0); // the how-to's small board

    model->game<ToeEngine>()->start();
    model->game<ToeEngine>()->play(4);
    scheduler->advance(2000);
    model->game<ToeEngine>()->play(0);
    scheduler->advance(2000);
    shoot("toe-playing");

    model->game<ToeEngine>()->setCells({ToeMark::red, ToeMark::red, ToeMark::empty, ToeMark::blue, ToeMark::blue,
                            ToeMark::empty, ToeMark::empty, ToeMark::empty, ToeMark::empty});
    model->game<ToeEngine>()->play(2);
    scheduler->advance(2000);
    ASSERT_EQ(model->game<ToeEngine>()->phase(), ToeEngine::Phase::over);
    image = shoot("toe-over");
    // The winning line is tinted red.
    EXPECT_TRUE(anyNear(image, island(), QColor(60, 20, 20), 18));

    EXPECT_EQ(wholeRings(image), 2);
}

TEST_F(GameScreenshotTest, ConnectFour)
{
    open(PavletGame::stack4);
    shoot("stack4-howto");
    model->game<Stack4Engine>()->setVersus(ArcadeVersus::local());
    QMetaObject::invokeMethod(model.get(), [] {}, Qt::DirectConnection);
    model->game<Stack4Engine>()->setPhase(Stack4Engine::Phase::playing);
    for (int column : {3, 3, 4, 2, 4, 4})
    {
        model->game<Stack4Engine>()->drop(column);
        scheduler->advance(3000);
    }
    QImage image = shoot("stack4-playing");
    EXPECT_TRUE(anyNear(image, island(), red, 20));
    EXPECT_TRUE(anyNear(image, island(), blue, 20));

    for (int column : {5, 1, 6})
    {
        model->game<Stack4Engine>()->drop(column);
        scheduler->advance(3000);
    }
    shoot("stack4-over");
}

TEST_F(GameScreenshotTest, WordGame)
{
    model->game<WordleEngine>()->setAnswer(QStringLiteral("crane"));
    open(PavletGame::wordle);
    shoot("wordle-fresh");
    auto type = [this](const QString &word) {
        for (QChar c : word)
            key(KeyCode::A, QString(c)); // the text decides the letter
        key(KeyCode::Return);
        scheduler->advance(1500);
    };
    type(QStringLiteral("slate"));
    type(QStringLiteral("trace"));
    const QImage image = shoot("wordle-playing");
    const QColor correct = QColor::fromRgbF(0.33f, 0.55f, 0.31f);
    EXPECT_TRUE(anyNear(image, island(), correct, 12));
    for (const char *w : {"house", "pilot", "mound", "fudge"})
        type(QString::fromLatin1(w));
    EXPECT_EQ(model->game<WordleEngine>()->phase(), WordlePhase::lost);
    shoot("wordle-lost");
}

TEST_F(GameScreenshotTest, Blackjack)
{
    open(PavletGame::blackjack);
    {
        // The how-to card holds its picture, texts and chips on its own
        // backing, which shows all round them: its edges stand out from the
        // table behind, above and below as well as at the sides.
        const QImage image = shoot("blackjack-howto");
        QQuickItem *card = find(scene.get(), "howToCard");
        ASSERT_TRUE(card);
        const QRectF backing = card->mapRectToScene(QRectF(0, 0, card->width(), card->height()));
        std::function<void(QQuickItem *)> inside = [&](QQuickItem *item) {
            for (QQuickItem *child : item->childItems()) {
                if (!child->isVisible() || child->width() <= 0)
                    continue;
                const QRectF at = child->mapRectToScene(QRectF(0, 0, child->width(), child->height()));
                EXPECT_TRUE(backing.contains(at)) << child->metaObject()->className();
                inside(child);
            }
        };
        inside(card);
        const QRect b = backing.toAlignedRect();
        const QPoint middle = b.center();
        const std::pair<QPoint, QPoint> edges[] = {
            {QPoint(middle.x(), b.top() + 3), QPoint(middle.x(), b.top() - 3)},
            {QPoint(middle.x(), b.bottom() - 3), QPoint(middle.x(), b.bottom() + 3)},
            {QPoint(b.left() + 3, middle.y()), QPoint(b.left() - 3, middle.y())},
            {QPoint(b.right() - 3, middle.y()), QPoint(b.right() + 3, middle.y())}};
        for (const auto &[in, out] : edges) {
            EXPECT_FALSE(near(image.pixelColor(in), image.pixelColor(out), 4))
                << "the card's edge at " << in.x() << "," << in.y() << " does not show";
        }
    }
    model->game<BlackjackEngine>()->startBuyIn(250);
    shoot("blackjack-betting");
    QList<BlackjackCard> shoe(20, BlackjackCard{9000, 2, 0});
    // Draws come from the end: player 9, dealer K, player 7, dealer 6, then 10s.
    shoe << BlackjackCard{9010, 10, 3} << BlackjackCard{9011, 10, 2} << BlackjackCard{9004, 6, 2}
         << BlackjackCard{9003, 7, 0} << BlackjackCard{9002, 13, 1} << BlackjackCard{9001, 9, 3};
    model->game<BlackjackEngine>()->setShoe(shoe);
    model->game<BlackjackEngine>()->deal();
    QImage image = shoot("blackjack-playing");
    EXPECT_TRUE(anyNear(image, island(), QColor(240, 240, 240), 10)); // a face-up card
    // The table is as tall as its rows and sits in the middle of the game area.
    QQuickItem *table = find(scene.get(), "blackjackTable");
    QQuickItem *rows = find(scene.get(), "blackjackRows");
    ASSERT_TRUE(table && rows);
    QQuickItem *area = table->parentItem();
    EXPECT_DOUBLE_EQ(table->height(), rows->implicitHeight() + 24);
    EXPECT_LT(table->height() + 60, area->height());
    EXPECT_NEAR(table->y() + table->height() / 2, area->height() / 2, 0.5);
    model->game<BlackjackEngine>()->stand();
    scheduler->advance(5000);
    shoot("blackjack-settle");
}

// Buying in again with a bank that offers a different number of bet chips
// rebuilds the chip row while it comes back into view; the table must
// survive it both ways, each step clicked as a player would.
TEST_F(GameScreenshotTest, BlackjackBuyInAgainChangesTheBetChips)
{
    const struct {
        qint64 first;
        qint64 again;
        int chipsBefore;
        int chipsAfter;
    } rows[] = {{250, 100, 6, 5}, {100, 1000, 5, 6}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.again);
        open(PavletGame::blackjack);
        ASSERT_TRUE(clickChip("$" + QString::number(row.first)));
        ASSERT_TRUE(clickChip("Play"));
        ASSERT_EQ(model->game<BlackjackEngine>()->betOptions().size(), row.chipsBefore);
        Patience::until([&] { return visibleChips(QStringLiteral("$")) == row.chipsBefore; }, 2000);
        EXPECT_EQ(visibleChips(QStringLiteral("$")), row.chipsBefore);
        model->game<BlackjackEngine>()->setShoe(QList<BlackjackCard>(20, BlackjackCard{9000, 10, 0}));
        ASSERT_TRUE(clickChip("Deal $25"));
        ASSERT_TRUE(clickChip("Stand"));
        scheduler->advance(5000);
        Patience::until([&] { return model->game<BlackjackEngine>()->phase() == BlackjackEngine::Phase::settle; }, 2000);
        ASSERT_EQ(model->game<BlackjackEngine>()->phase(), BlackjackEngine::Phase::settle);
        ASSERT_TRUE(clickChip("Buy in"));
        ASSERT_TRUE(clickChip("$" + QString::number(row.again)));
        ASSERT_TRUE(clickChip("Play"));
        EXPECT_EQ(model->game<BlackjackEngine>()->phase(), BlackjackEngine::Phase::betting);
        Patience::until([&] { return visibleChips(QStringLiteral("$")) == row.chipsAfter; }, 2000);
        EXPECT_EQ(visibleChips(QStringLiteral("$")), row.chipsAfter);
        ASSERT_TRUE(clickChip("$10"));
        EXPECT_EQ(model->game<BlackjackEngine>()->bet(), 10);
        model->openGame(PavletGame::hub);
    }
}

TEST_F(GameScreenshotTest, ColourPatterns)
{
    open(PavletGame::pattern);
    shoot("pattern-howto");
    model->game<PatternEngine>()->newGame();
    scheduler->advance(PatternEngine::LeadInMs + 10);
    QImage image = shoot("pattern-watch-lit");
    const int lit = model->game<PatternEngine>()->lit() ? int(*model->game<PatternEngine>()->lit()) : -1;
    EXPECT_GE(lit, 0);
    scheduler->advance(5000);
    ASSERT_EQ(model->game<PatternEngine>()->phase(), PatternEngine::Phase::input);
    shoot("pattern-input");
    const int wrong = (model->game<PatternEngine>()->sequence().at(0) == PatternHue::gold) ? 1 : 0;
    model->game<PatternEngine>()->tap(wrong);
    scheduler->advance(1000);
    shoot("pattern-over");
}
