#include "gamescene.h"
#include "games/action/actionviews.h"
#include "games/action/blocksengine.h"
#include "games/action/cpsengine.h"
#include "games/action/dinoengine.h"
#include "games/action/flapengine.h"
#include "games/action/pongengine.h"
#include "games/action/reflexengine.h"
#include "games/action/snakeengine.h"
#include "games/action/stackengine.h"
#include "support/itemtree.h"
#include "support/patience.h"

#include <QTest>

// The real-time games drawn in the island over a stand-in desktop, each at
// its start, in the middle of a run and at its end, written to
// $PAVLET_SCREENSHOT_DIR when set.
namespace {
bool close(const QColor &a, const QColor &b, int tolerance)
{
    return Screenshots::near(a, b, tolerance);
}
} // namespace

class ActionShots : public GameSceneTest {
protected:
    ActionShots()
        : GameSceneTest(460)
    {
    }

    void open(PavletGame game)
    {
        model->openGame(game);
        fitIsland(game);
        // The game's page is built off its frame; it shows once built.
        QQuickItem *view = nullptr;
        Patience::until([&] {
            QQuickItem *panel = ItemTree::all(scene.get(), "GamesPanel").value(0);
            auto *frame = panel ? panel->property("currentFrame").value<QQuickItem *>() : nullptr;
            view = frame ? frame->property("view").value<QQuickItem *>() : nullptr;
            return view != nullptr;
        }, 3000);
        if (view)
            Patience::ready(view);
    }
    // The scene rectangle of a named item on the page.
    QRect where(const QString &name) const
    {
        auto *item = scene->findChild<QQuickItem *>(name);
        if (!item)
            return {};
        return QRectF(item->mapToScene(QPointF(0, 0)), item->size()).toRect();
    }
    QImage shoot(const QString &name) { return GameSceneTest::shoot(name, 500, 100, 30); }
    static bool anyNear(const QImage &image, const QRect &r, const QColor &colour, int tolerance = 24)
    {
        return Screenshots::anyNear(image, r, colour, tolerance);
    }

    const QColor gold = QColor::fromRgbF(1.0f, 0.84f, 0.40f);
    const QColor sky = QColor::fromRgbF(0.47f, 0.80f, 0.98f);
    const QColor coral = QColor::fromRgbF(1.0f, 0.48f, 0.42f);
};

TEST_F(ActionShots, Blocks)
{
    open(PavletGame::blocks);
    QImage image = shoot("blocks-howto");
    EXPECT_TRUE(anyNear(image, island(), gold));

    model->game<BlocksEngine>()->begin();
    for (int i = 0; i < 6; ++i) {
        model->game<BlocksEngine>()->move(i % 2 ? 3 : -3);
        model->game<BlocksEngine>()->move(i % 3 - 1);
        model->game<BlocksEngine>()->hardDrop();
    }
    advance(2500);
    shoot("blocks-running");

    // A full top: the next piece finds no room and is drawn over the cells
    // that blocked it.
    // The settled cells take a kind that is neither the falling piece's nor
    // the next one's, so that the two can be told apart.
    BlockKind fill = BlockKind::i;
    for (BlockKind k : allBlockKinds) {
        if (int(k) != model->game<BlocksEngine>()->activeKind() && k != model->game<BlocksEngine>()->nextKind())
            fill = k;
    }
    BlocksEngine::Board board{};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 9; ++c)
            board[r][c] = fill;
    model->game<BlocksEngine>()->setBoard(board);
    model->game<BlocksEngine>()->hardDrop();
    ASSERT_EQ(model->game<BlocksEngine>()->phase(), BlocksEngine::Phase::over);
    image = shoot("blocks-over");
    const QRect well = where(QStringLiteral("blocksWell"));
    ASSERT_TRUE(well.isValid());
    const double c = well.width() / 10.0;
    const QColor piece = ActionViews::blockColor(model->game<BlocksEngine>()->activeKind());
    const QColor under = ActionViews::blockColor(int(fill));
    int shown = 0;
    for (const QPoint &p : model->game<BlocksEngine>()->activeCells()) {
        if (p.y() < 0 || !model->game<BlocksEngine>()->board()[p.y()][p.x()])
            continue;
        const QPoint centre(int(well.left() + c * (p.x() + 0.5)), int(well.top() + c * (p.y() + 0.5)));
        const QColor seen = image.pixelColor(centre);
        EXPECT_TRUE(close(seen, piece, 24)) << seen.name().toStdString();
        EXPECT_FALSE(close(seen, under, 10));
        ++shown;
    }
    EXPECT_GT(shown, 0);
}

TEST_F(ActionShots, ClicksTest)
{
    open(PavletGame::cps);
    shoot("cps-howto");
    model->game<CPSEngine>()->prepare();
    shoot("cps-ready");
    for (int i = 0; i < 14; ++i) {
        model->game<CPSEngine>()->click();
        advance(150);
    }
    QImage image = shoot("cps-running");
    EXPECT_TRUE(anyNear(image, island(), gold));
    advance(4000);
    ASSERT_EQ(model->game<CPSEngine>()->phase(), CPSEngine::Phase::result);
    shoot("cps-result");

    // The smaller result keeps the face's own spacing: the point in a cell
    // of its own advance, each digit in a cell of about its own.
    auto *large = scene->findChild<QQuickItem *>(QStringLiteral("cpsLarge"));
    ASSERT_TRUE(large);
    const QString text = large->property("text").toString();
    ASSERT_TRUE(text.contains(QLatin1Char('.'))) << text.toStdString();
    int seen = 0;
    for (QQuickItem *cell : large->childItems()) {
        if (!cell->property("glyph").isValid())
            continue;
        ++seen;
        const double slack = cell->property("digit").toBool() ? 4.0 : 1.0;
        EXPECT_GE(cell->width(), cell->implicitWidth() - 1.0) << text.toStdString();
        EXPECT_LE(cell->width(), cell->implicitWidth() + slack) << text.toStdString();
    }
    EXPECT_EQ(seen, text.size());
}

TEST_F(ActionShots, Runner)
{
    open(PavletGame::dino);
    shoot("dino-ready");
    model->game<DinoEngine>()->press();
    advance(400);
    model->game<DinoEngine>()->setDistance(420);
    model->game<DinoEngine>()->setObstacles({{901, 160, 0, 16, 24, false}, {902, 192, 0, 14, 18, false},
                                 {903, 330, 60, 24, 16, true}});
    QImage image = shoot("dino-running");
    EXPECT_TRUE(anyNear(image, island(), coral, 30));
    // Once the runner is back on the ground, a block right on it ends the run.
    model->game<DinoEngine>()->setObstacles({});
    advance(700);
    model->game<DinoEngine>()->setObstacles({{904, 40, 0, 16, 24, false}});
    advance(20);
    ASSERT_EQ(model->game<DinoEngine>()->phase(), DinoEngine::Phase::dead);
    shoot("dino-dead");
}

TEST_F(ActionShots, Flap)
{
    open(PavletGame::flap);
    QImage image = shoot("flap-ready");
    EXPECT_TRUE(anyNear(image, island(), sky, 30));
    model->game<FlapEngine>()->flap();
    advance(200);
    model->game<FlapEngine>()->setPipes({{801, 150, 40, false}, {802, 330, 90, false}});
    image = shoot("flap-running");
    EXPECT_TRUE(anyNear(image, island(), gold, 40));
    model->game<FlapEngine>()->die();
    shoot("flap-dead");
}

TEST_F(ActionShots, Pong)
{
    open(PavletGame::pong);
    shoot("pong-howto");
    model->game<PongEngine>()->start(PongDifficulty::medium);
    advance(800);
    model->game<PongEngine>()->setScores(2, 1);
    model->game<PongEngine>()->setBall(0.62, 0.4, 0.5, 0.2);
    QImage image = shoot("pong-playing");
    EXPECT_TRUE(anyNear(image, island(), gold, 30));
    model->game<PongEngine>()->setScores(5, 3);
    model->game<PongEngine>()->pointScored(true);
    ASSERT_EQ(model->game<PongEngine>()->phase(), PongEngine::Phase::over);
    shoot("pong-over");
}

TEST_F(ActionShots, Stack)
{
    open(PavletGame::stack);
    shoot("stack-howto");
    model->game<StackEngine>()->start();
    for (double x : {0.18, 0.2, 0.17, 0.21, 0.19, 0.22, 0.2, 0.2}) {
        model->game<StackEngine>()->setMoving(x, model->game<StackEngine>()->movingWidth(), true);
        model->game<StackEngine>()->tap();
        advance(300);
    }
    QImage image = shoot("stack-running");
    EXPECT_TRUE(anyNear(image, island(), gold, 30));
    model->game<StackEngine>()->setMoving(0.95, model->game<StackEngine>()->movingWidth(), true);
    model->game<StackEngine>()->tap();
    advance(1000);
    ASSERT_EQ(model->game<StackEngine>()->phase(), StackEngine::Phase::over);
    shoot("stack-over");
}

TEST_F(ActionShots, Snake)
{
    open(PavletGame::snake);
    shoot("snake-howto");
    model->game<SnakeEngine>()->start();
    advance(500);
    model->game<SnakeEngine>()->turn(SnakeDir::down);
    advance(400);
    QImage image = shoot("snake-running");
    EXPECT_TRUE(anyNear(image, island(), coral, 30));
    advance(5000);
    ASSERT_EQ(model->game<SnakeEngine>()->phase(), SnakeEngine::Phase::over);
    shoot("snake-over");
}

TEST_F(ActionShots, Reflex)
{
    open(PavletGame::reflex);
    shoot("reflex-ready");
    model->game<ReflexEngine>()->tap();
    shoot("reflex-waiting");
    for (int i = 0; i < 400 && model->game<ReflexEngine>()->phase() != ReflexEngine::Phase::go; ++i)
        advance(10);
    ASSERT_EQ(model->game<ReflexEngine>()->phase(), ReflexEngine::Phase::go);
    advance(214);
    QImage image = shoot("reflex-go");
    EXPECT_TRUE(anyNear(image, island(), QColor(100, 88, 60), 40));
    model->game<ReflexEngine>()->tap();
    shoot("reflex-result");
    model->game<ReflexEngine>()->tap();
    model->game<ReflexEngine>()->tap();
    shoot("reflex-false-start");
}
