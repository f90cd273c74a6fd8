#include "gamesviewtest.h"

#include "fakes/fakescreens.h"
#include "games/action/actionviews.h"
#include "games/action/blocksengine.h"
#include "games/action/cpsengine.h"
#include "games/action/dinoengine.h"
#include "games/action/flapengine.h"
#include "games/action/pongengine.h"
#include "games/action/pongpointerprobe.h"
#include "games/action/reflexengine.h"
#include "games/action/snakeengine.h"
#include "games/action/stackengine.h"
#include "games/action/textshadow.h"
#include "island/islandmetrics.h"
#include "notch/notchgeometry.h"
#include "support/patience.h"

#include <QSet>
#include <QTest>

using Island::PavletGame;

// The real-time screens' rules, called directly.

TEST(ActionViewsRulesTest, BlocksWellAndSideColumn)
{
    EXPECT_DOUBLE_EQ(ActionViews::blocksCell(200, 320), 20);
    EXPECT_DOUBLE_EQ(ActionViews::blocksCell(300, 320), 20);
    EXPECT_DOUBLE_EQ(ActionViews::blocksWellX(300, 320), 50);
    EXPECT_DOUBLE_EQ(ActionViews::blocksWellX(200, 320), 0);
    EXPECT_DOUBLE_EQ(ActionViews::blocksCell(-5, 320), 0);
    EXPECT_DOUBLE_EQ(ActionViews::blocksCellRadius(20), 3.6);
    EXPECT_DOUBLE_EQ(ActionViews::blocksCellRadius(8), 2);

    // The preview keeps each piece where it sits in its 4 × 4 box.
    EXPECT_EQ(ActionViews::blocksPreview(int(BlockKind::i)),
              QVariantList({QPointF(0, 11), QPointF(11, 11), QPointF(22, 11), QPointF(33, 11)}));
    EXPECT_EQ(ActionViews::blocksPreview(int(BlockKind::o)),
              QVariantList({QPointF(11, 0), QPointF(22, 0), QPointF(11, 11), QPointF(22, 11)}));
    EXPECT_TRUE(ActionViews::blocksPreview(7).isEmpty());

    EXPECT_EQ(ActionViews::blocksBestText(0), "");
    EXPECT_EQ(ActionViews::blocksBestText(1), "Best 1");
    EXPECT_EQ(ActionViews::blocksLinesText(1), "1 lines");
    EXPECT_EQ(ActionViews::blockColor(int(BlockKind::j)), QColor::fromRgbF(0.38f, 0.58f, 1.0f));
    EXPECT_FALSE(ActionViews::blocksTapLayer(BlocksEngine::Phase::howto));
    EXPECT_TRUE(ActionViews::blocksTapLayer(BlocksEngine::Phase::over));

    // The emblem's gap and corner keep a floor for small cells.
    EXPECT_DOUBLE_EQ(ActionViews::zigZagGap(10), 1.8);
    EXPECT_DOUBLE_EQ(ActionViews::zigZagGap(7), 1.4);
    EXPECT_DOUBLE_EQ(ActionViews::zigZagRadius(7), 1.5);
    EXPECT_DOUBLE_EQ(ActionViews::zigZagRadius(10), 2);
}

TEST(ActionViewsRulesTest, ClicksTestTexts)
{
    using P = CPSEngine::Phase;
    const struct {
        P phase;
        int seconds;
        double remaining;
        int clicks;
        const char *large;
        const char *detail;
    } rows[] = {
        {P::howto, 5, 5, 0, "CPS", "Clicks per second"},
        {P::ready, 30, 30, 0, "Click", "First click starts 30s"},
        {P::running, 10, 4.27, 57, "6.2", "4.3s left \u00b7 57 clicks"},
        {P::running, 60, 42.3, 57, "6.2", "0:43 \u00b7 57 clicks"},
        {P::running, 300, 240.0, 3, "6.2", "4:00 \u00b7 3 clicks"},
        {P::running, 300, 239.01, 3, "6.2", "4:00 \u00b7 3 clicks"},
        {P::result, 10, 0, 57, "5.7", "57 clicks in 10s"},
        {P::result, 300, 0, 1, "5.7", "1 clicks in 5m"},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(ActionViews::cpsLargeText(r.phase, 6.2, 5.7), QString::fromUtf8(r.large));
        EXPECT_EQ(ActionViews::cpsDetailLine(r.phase, r.seconds, r.remaining, r.clicks),
                  QString::fromUtf8(r.detail));
    }
    EXPECT_EQ(ActionViews::cpsLargeSize(P::running), 36);
    EXPECT_EQ(ActionViews::cpsLargeSize(P::result), 22);
    EXPECT_EQ(ActionViews::cpsResultLine(P::result, true), "New personal best");
    EXPECT_EQ(ActionViews::cpsResultLine(P::result, false), "Tap to go again");
    EXPECT_EQ(ActionViews::cpsResultLine(P::running, true), "");
    const QVariantMap best{{QStringLiteral("10"), 7.44}};
    EXPECT_EQ(ActionViews::cpsBestText(best, 10), "PB 7.4");
    EXPECT_EQ(ActionViews::cpsBestText(best, 5), "");
    EXPECT_FALSE(ActionViews::cpsChipsEnabled(P::running));
    EXPECT_TRUE(ActionViews::cpsChipsEnabled(P::result));
}

TEST(ActionViewsRulesTest, RunnerAndFlapFields)
{
    const double dashes[] = {-5, 85, 175}, ticks[] = {-11, 17, 45};
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(ActionViews::dinoDashX(i, 95), dashes[i]);
        EXPECT_DOUBLE_EQ(ActionViews::dinoTickX(i, 95), ticks[i]);
    }
    EXPECT_DOUBLE_EQ(ActionViews::dinoDashX(5, 0), 450);

    using D = DinoEngine::Phase;
    EXPECT_EQ(ActionViews::dinoTitle(D::ready), "Pavlet Run");
    EXPECT_EQ(ActionViews::dinoLine(D::ready, 0, 0), "Tap or press space");
    EXPECT_EQ(ActionViews::dinoTitle(D::dead), "Bonk");
    EXPECT_EQ(ActionViews::dinoLine(D::dead, 12, 40), "Score 12   \u00b7   Best 40");
    EXPECT_EQ(ActionViews::dinoRunnerLegs(D::ready, 3.5), 0);
    EXPECT_EQ(ActionViews::dinoRunnerLegs(D::running, 3.5), 3.5);
    EXPECT_EQ(ActionViews::dinoRunnerTilt(2), 0);
    EXPECT_EQ(ActionViews::dinoRunnerTilt(2.5), -12);
    EXPECT_TRUE(ActionViews::dinoEyesClosed(false, D::dead));
    EXPECT_FALSE(ActionViews::dinoEyesClosed(false, D::running));

    EXPECT_EQ(ActionViews::flapTitle(FlapEngine::Phase::dead), "Crashed");
    EXPECT_EQ(ActionViews::flapLine(FlapEngine::Phase::dead, 3, 9), "Score 3   \u00b7   Best 9");
    EXPECT_DOUBLE_EQ(ActionViews::flapBirdTilt(270), 19.285714285714285);
    EXPECT_DOUBLE_EQ(ActionViews::flapBirdTilt(-560), -28);
    EXPECT_DOUBLE_EQ(ActionViews::flapLowerHeight(10), 18);
    EXPECT_DOUBLE_EQ(ActionViews::flapUpperHeight(248, 110), 18);
    EXPECT_DOUBLE_EQ(ActionViews::flapUpperHeight(248, 22), 98);
}

TEST(ActionViewsRulesTest, PongStackSnakeAndReflex)
{
    EXPECT_DOUBLE_EQ(ActionViews::pongPaddleWidth(250), 5);
    EXPECT_DOUBLE_EQ(ActionViews::pongPaddleWidth(500), 9);
    EXPECT_DOUBLE_EQ(ActionViews::pongPaddleHeight(100), 36);
    EXPECT_DOUBLE_EQ(ActionViews::pongBallSize(250), 11);
    EXPECT_EQ(ActionViews::pongDash(2, 400, 270), QPointF(198.5, 68));
    EXPECT_EQ(ActionViews::pongResultTitle(3, 5), "NPC takes it");
    EXPECT_EQ(ActionViews::pongResultTitle(5, 4), "You take it");
    EXPECT_EQ(ActionViews::pongResultLine(3, 5, int(PongDifficulty::medium), 2),
              "3\u20135   \u00b7   Medium   \u00b7   Wins 2");
    EXPECT_TRUE(PongPointerProbe::steers(-20, 400, 270));
    EXPECT_FALSE(PongPointerProbe::steers(-30, 400, 270));
    EXPECT_TRUE(PongPointerProbe::steers(420, 400, 270));
    EXPECT_FALSE(PongPointerProbe::steers(10, 400, 1));

    EXPECT_DOUBLE_EQ(ActionViews::stackSlabLeft(0.18, 436), 18 + 0.18 * 400);
    EXPECT_DOUBLE_EQ(ActionViews::stackRowBottom(0, 0), 8);
    EXPECT_DOUBLE_EQ(ActionViews::stackRowBottom(7, 18), 116);
    EXPECT_TRUE(ActionViews::stackSlabGold(2, 3, true));
    EXPECT_FALSE(ActionViews::stackSlabGold(1, 3, true));
    EXPECT_NEAR(ActionViews::stackSlabWhite(2, 3).alphaF(), 0.92, 0.001);
    EXPECT_NEAR(ActionViews::stackSlabWhite(0, 3).alphaF(), 0.78, 0.001);

    // A narrow, tall space sizes the cells by its width.
    EXPECT_DOUBLE_EQ(ActionViews::snakeCell(194, 400), 10);
    EXPECT_DOUBLE_EQ(ActionViews::snakeCell(400, 125), 10);
    EXPECT_DOUBLE_EQ(ActionViews::snakeCell(10, 400), 0);
    EXPECT_EQ(ActionViews::snakeBest(0), "");
    EXPECT_EQ(ActionViews::snakeBest(4), "Best 4");
    EXPECT_EQ(ActionViews::snakeOverLine(3, 0), "Apples 3  \u00b7  Best 0");

    using R = ReflexEngine::Phase;
    const QVariant none, ms214(qint64(214));
    const struct {
        R phase;
        QVariant last;
        const char *headline;
        const char *hint;
        int size;
        bool rating;
        bool best;
    } rows[] = {
        {R::ready, none, "Pavlet Reflex", "Tap when it says GO", 18, false, true},
        {R::waiting, none, "Wait\u2026", "Don\u2019t click yet", 18, false, true},
        {R::go, none, "GO!", "Now", 34, false, false},
        {R::result, ms214, "214 ms", "Tap to try again", 18, true, true},
        {R::result, none, "Pavlet Reflex", "Tap to try again", 18, false, true},
        {R::falseStart, none, "Too soon", "Tap to try again", 18, false, true},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(ActionViews::reflexHeadline(r.phase, r.last), QString::fromUtf8(r.headline));
        EXPECT_EQ(ActionViews::reflexHint(r.phase), QString::fromUtf8(r.hint));
        EXPECT_EQ(ActionViews::reflexHeadlineSize(r.phase), r.size);
        EXPECT_EQ(ActionViews::reflexShowsRating(r.phase, r.last), r.rating) << r.headline;
        EXPECT_EQ(ActionViews::reflexShowsBest(r.phase, QVariant(qint64(190))), r.best) << r.headline;
        EXPECT_FALSE(ActionViews::reflexShowsBest(r.phase, none));
    }
    EXPECT_EQ(ReflexEngine::rating(214), "Sharp");
    EXPECT_EQ(ActionViews::reflexBestLine(QVariant(qint64(214))), "Best 214 ms");
    EXPECT_NEAR(ActionViews::reflexCardFill(R::falseStart).alphaF(), 0.04, 0.001);
    EXPECT_NEAR(ActionViews::reflexOutline(R::go).alphaF(), 0.18, 0.001);
}

// The screens over the island's model, in the panel.

namespace {
// The size the island gives a game's page (its width, the page height less
// the panel's header).
QSizeF panelFor(PavletGame game)
{
    const QSizeF page = IslandMetrics::gamePage(game);
    return {page.width(), page.height() + 36};
}
} // namespace

class ActionViewsTest : public GamesViewTest {
protected:
    QQuickItem *open(PavletGame game)
    {
        const QSizeF size = panelFor(game);
        if (!view) {
            panel(size);
        } else {
            window->resize(size.toSize());
            qobject_cast<QQuickItem *>(view.get())->setSize(size);
        }
        model->openGame(game);
        QQuickItem *shown = page();
        if (shown)
            Patience::ready(shown);
        return shown;
    }
};

TEST_F(ActionViewsTest, EachPagePicksItsRunUpAndStopsWhenItGoes)
{
    struct Game {
        PavletGame game;
        std::function<void()> start;
        std::function<bool()> ticking;
    };
    const Game games[] = {
        {PavletGame::blocks, [&] { model->game<BlocksEngine>()->begin(); }, [&] { return model->game<BlocksEngine>()->isTicking(); }},
        {PavletGame::dino, [&] { model->game<DinoEngine>()->press(); }, [&] { return model->game<DinoEngine>()->isTicking(); }},
        {PavletGame::flap, [&] { model->game<FlapEngine>()->flap(); }, [&] { return model->game<FlapEngine>()->isTicking(); }},
        {PavletGame::stack, [&] { model->game<StackEngine>()->start(); }, [&] { return model->game<StackEngine>()->isTicking(); }},
        {PavletGame::snake, [&] { model->game<SnakeEngine>()->start(); }, [&] { return model->game<SnakeEngine>()->isTicking(); }},
        {PavletGame::pong, [&] { model->game<PongEngine>()->start(PongDifficulty::easy); advance(1000); },
         [&] { return model->game<PongEngine>()->isTicking(); }},
    };
    for (const Game &g : games) {
        QQuickItem *view = open(g.game);
        ASSERT_TRUE(view) << int(g.game);
        g.start();
        ASSERT_TRUE(g.ticking()) << int(g.game);
        view->setProperty("shown", false);
        EXPECT_FALSE(g.ticking()) << int(g.game);
        view->setProperty("shown", true);
        EXPECT_TRUE(g.ticking()) << int(g.game);
    }
    // A clicking test cut off mid-count is armed afresh.
    QQuickItem *cps = open(PavletGame::cps);
    model->game<CPSEngine>()->prepare();
    model->game<CPSEngine>()->click();
    cps->setProperty("shown", false);
    EXPECT_FALSE(model->game<CPSEngine>()->isTicking());
    cps->setProperty("shown", true);
    EXPECT_EQ(model->game<CPSEngine>()->phase(), CPSEngine::Phase::ready);

    QQuickItem *reflex = open(PavletGame::reflex);
    model->game<ReflexEngine>()->tap();
    ASSERT_TRUE(model->game<ReflexEngine>()->isWaiting());
    reflex->setProperty("shown", false);
    EXPECT_FALSE(model->game<ReflexEngine>()->isWaiting());
}

TEST_F(ActionViewsTest, BlocksDrawsThePieceOverTheCellsItFoundNoRoomIn)
{
    QQuickItem *view = open(PavletGame::blocks);
    ASSERT_TRUE(view);
    EXPECT_TRUE(shows(view, "blocksHowTo"));
    EXPECT_FALSE(shows(view, "blocksTap"));
    EXPECT_FALSE(shows(view, "blocksBest"));

    // Fill the top rows so that the next piece cannot spawn.
    BlocksEngine::Board board{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 9; ++c)
            board[r][c] = BlockKind::j;
    model->game<BlocksEngine>()->begin();
    model->game<BlocksEngine>()->setBoard(board);
    model->game<BlocksEngine>()->hardDrop();
    ASSERT_EQ(model->game<BlocksEngine>()->phase(), BlocksEngine::Phase::over);
    ASSERT_GE(model->game<BlocksEngine>()->activeKind(), 0);
    EXPECT_TRUE(shows(view, "blocksOver"));
    EXPECT_TRUE(shows(view, "blocksTap"));

    // Where the blocked piece overlaps settled cells, its cell is stacked
    // above the settled one.
    QQuickItem *well = named(view, "blocksWell");
    const QList<QQuickItem *> layers = well->childItems();
    const QList<QPoint> piece = model->game<BlocksEngine>()->activeCells();
    int overlaps = 0;
    for (const QPoint &p : piece) {
        if (p.y() < 0 || !model->game<BlocksEngine>()->board()[p.y()][p.x()])
            continue;
        qsizetype settled = -1, active = -1;
        for (qsizetype i = 0; i < layers.size(); ++i) {
            QQuickItem *cell = layers[i];
            if (!cell->isVisible() || cell->property("at").toPointF() != QPointF(p) || cell->opacity() < 1)
                continue;
            (settled < 0 ? settled : active) = i;
        }
        ASSERT_GE(active, 0);
        EXPECT_EQ(layers[settled]->property("cellLayer").toString(), "settled");
        EXPECT_EQ(layers[active]->property("cellLayer").toString(), "active");
        ++overlaps;
    }
    EXPECT_GT(overlaps, 0);
    EXPECT_EQ(text(view, "cardTitle"), "Stacked out");
}

TEST_F(ActionViewsTest, FlapTakesTheFieldHeight)
{
    QQuickItem *view = open(PavletGame::flap);
    ASSERT_TRUE(view);
    const double h = view->height();
    EXPECT_DOUBLE_EQ(model->game<FlapEngine>()->fieldHeight(), h);
    EXPECT_DOUBLE_EQ(model->game<FlapEngine>()->birdY(), 0.48 * h);
    view->setHeight(248);
    EXPECT_DOUBLE_EQ(model->game<FlapEngine>()->birdY(), 119.04);
    view->setHeight(60);
    EXPECT_DOUBLE_EQ(model->game<FlapEngine>()->fieldHeight(), 248);

    model->game<FlapEngine>()->flap();
    const double y = model->game<FlapEngine>()->birdY();
    view->setHeight(260);
    EXPECT_DOUBLE_EQ(model->game<FlapEngine>()->fieldHeight(), 260);
    EXPECT_DOUBLE_EQ(model->game<FlapEngine>()->birdY(), y);
    model->game<FlapEngine>()->die();
    EXPECT_EQ(text(view, "cardTitle"), "Crashed");
    model->game<FlapEngine>()->flap();
    EXPECT_DOUBLE_EQ(model->game<FlapEngine>()->birdY(), 118);
}

TEST_F(ActionViewsTest, PongSteersFromThePointerAndWritesItsField)
{
    FakePointerLocation pointer;
    PongPointerProbe::setSource(&qml.engine(), &pointer, scheduler.get());
    QQuickItem *view = open(PavletGame::pong);
    ASSERT_TRUE(view);
    EXPECT_EQ(model->game<PongEngine>()->field(), view->size());
    QQuickItem *probe = named(view, "pongProbe");
    ASSERT_TRUE(probe && probe->property("polling").toBool());
    EXPECT_EQ(probe->acceptedMouseButtons(), Qt::NoButton);
    // How-to chips are never drawn selected.
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(named(view, QStringLiteral("pongLevel%1").arg(i))->property("selected").toBool());

    model->game<PongEngine>()->start(PongDifficulty::hard);
    auto steerAt = [&](double dx, double y) {
        pointer.at = probe->mapToGlobal(QPointF(dx, y));
        advance(1000 / PongPointerProbe::PerSecond + 1);
        return model->game<PongEngine>()->playerY();
    };
    EXPECT_NEAR(steerAt(-20, 0.3 * view->height()), 0.3, 0.01);
    EXPECT_NEAR(steerAt(-30, 0.7 * view->height()), 0.3, 0.01);
    EXPECT_NEAR(steerAt(view->width() + 20, 0.7 * view->height()), 0.7, 0.01);

    // Leaving the window ends the polling.
    probe->setVisible(false);
    EXPECT_FALSE(probe->property("polling").toBool());

    model->game<PongEngine>()->setScores(3, 5);
    model->game<PongEngine>()->pointScored(false);
    ASSERT_EQ(model->game<PongEngine>()->phase(), PongEngine::Phase::over);
    EXPECT_EQ(text(view, "pongResultTitle"), "NPC takes it");
    EXPECT_EQ(text(view, "pongResultLine"), "3\u20135   \u00b7   Hard   \u00b7   Wins 0");
}

TEST_F(ActionViewsTest, StackBaseSlabAndClickLayer)
{
    QQuickItem *view = open(PavletGame::stack);
    ASSERT_TRUE(view);
    EXPECT_FALSE(shows(view, "stackTap"));
    EXPECT_TRUE(shows(view, "stackHowTo"));
    model->game<StackEngine>()->start();
    EXPECT_TRUE(shows(view, "stackTap"));
    EXPECT_TRUE(shows(view, "stackSlider"));
    QQuickItem *slider = named(view, "stackSlider");
    // The sliding slab rides in row 1: its bottom 26 above the well's bottom.
    EXPECT_DOUBLE_EQ(view->height() - slider->y() - slider->height(), 26);
    model->game<StackEngine>()->setMoving(0.9, 0.64, true);
    model->game<StackEngine>()->tap();
    waitUntil([&] { return model->game<StackEngine>()->phase() == StackEngine::Phase::over; }, 200);
    ASSERT_EQ(model->game<StackEngine>()->phase(), StackEngine::Phase::over);
    EXPECT_FALSE(shows(view, "stackSlider"));
    EXPECT_EQ(text(view, "cardLine"), "Score 0   \u00b7   Best 0");
}

TEST_F(ActionViewsTest, SnakeBoardHeaderAndApple)
{
    QQuickItem *view = open(PavletGame::snake);
    ASSERT_TRUE(view);
    EXPECT_FALSE(shows(view, "snakeBest"));
    model->game<SnakeEngine>()->start();
    // An apple on a body cell is drawn as the apple.
    const auto body = SnakeEngine::startBody();
    model->game<SnakeEngine>()->setBoard(body, body.back());
    QQuickItem *board = named(view, "snakeBoard");
    QQuickItem *cell = board->childItems().at(int(body.back().y) * 17 + int(body.back().x) + 0);
    ASSERT_TRUE(cell);
    EXPECT_TRUE(cell->childItems().at(0)->isVisible());
    EXPECT_FALSE(cell->childItems().at(1)->isVisible());
    EXPECT_NEAR(board->width(), 17 * ActionViews::snakeCell(board->parentItem()->width(),
                                                            board->parentItem()->height()) + 24, 0.01);
}

// Soft shadows are blurred, not stepped: the slab's glow and the shout's
// shadow each fade out smoothly from their shape.
TEST_F(ActionViewsTest, StackShadowsAreBlurred)
{
    QQuickItem *view = open(PavletGame::stack);
    ASSERT_TRUE(view);
    model->game<StackEngine>()->start();
    advance(100);
    QQuickItem *glow = named(view, "stackSliderShadow");
    ASSERT_TRUE(glow);
    EXPECT_STREQ(glow->metaObject()->className(), "IslandShadow");
    EXPECT_DOUBLE_EQ(glow->property("blurRadius").toDouble(), 6);
    EXPECT_NEAR(glow->property("color").value<QColor>().alphaF(), 0.35, 0.01);

    model->game<StackEngine>()->tap();
    QQuickItem *shadow = nullptr;
    waitUntil([&] { return (shadow = named(view, "stackShoutShadow")) != nullptr; });
    ASSERT_TRUE(shadow);
    EXPECT_DOUBLE_EQ(shadow->property("blurRadius").toDouble(), 8);
    const QImage picture = qobject_cast<TextShadow *>(shadow)->picture(1.0);
    ASSERT_FALSE(picture.isNull());
    // Along the middle row the alpha climbs from nothing at the edge in many
    // small steps and never reaches the full 55 %.
    const int y = picture.height() / 2;
    QSet<int> levels;
    int peak = 0;
    for (int x = 0; x < picture.width(); ++x) {
        const int a = qAlpha(picture.pixel(x, y));
        levels << a;
        peak = std::max(peak, a);
    }
    EXPECT_EQ(qAlpha(picture.pixel(0, y)), 0);
    EXPECT_GT(levels.size(), 12);
    EXPECT_GT(peak, 20);
    EXPECT_LT(peak, 140);
}

// Reflex passes from phase to phase by cross-fading the old lines into the
// new ones; neither is ever dimmed to a fixed floor.
TEST_F(ActionViewsTest, ReflexCrossFadesItsLines)
{
    QQuickItem *view = open(PavletGame::reflex);
    ASSERT_TRUE(view);
    QQuickItem *now = named(view, "reflexLines");
    QQuickItem *left = named(view, "reflexLinesLeft");
    ASSERT_TRUE(now && left);
    EXPECT_FALSE(left->isVisible());
    EXPECT_DOUBLE_EQ(now->opacity(), 1);

    model->game<ReflexEngine>()->tap();
    ASSERT_EQ(model->game<ReflexEngine>()->phase(), ReflexEngine::Phase::waiting);
    Patience::until([&] { return left->isVisible() && now->opacity() < 1.0; }, 1000);
    EXPECT_TRUE(left->isVisible());
    EXPECT_EQ(text(left, "reflexHeadlineLeft"), "Pavlet Reflex");
    EXPECT_EQ(text(now, "reflexHeadline"), "Wait\u2026");
    EXPECT_GT(left->opacity(), 0.0);
    EXPECT_LT(now->opacity(), 1.0);
    EXPECT_NEAR(left->opacity() + now->opacity(), 1.0, 1e-9);
    EXPECT_TRUE(waitUntil([&] { return !left->isVisible(); }, 1000));
    EXPECT_DOUBLE_EQ(now->opacity(), 1);
}
