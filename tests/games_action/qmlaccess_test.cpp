#include "actiontest.h"
#include "blocksengine.h"
#include "dinoengine.h"
#include "reflexengine.h"
#include "snakeengine.h"
#include "stackengine.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>

namespace {

class QmlAccessTest : public ActionTest {
protected:
    QVariant eval(QObject *engine, const QString &expr)
    {
        qml.rootContext()->setContextProperty("engine", engine);
        QQmlExpression e(qml.rootContext(), nullptr, expr);
        bool undefined = false;
        const QVariant v = e.evaluate(&undefined);
        EXPECT_FALSE(e.hasError()) << expr.toStdString() << ": " << e.error().toString().toStdString();
        return v;
    }
    QQmlEngine qml;
};

} // namespace

TEST_F(QmlAccessTest, ViewsCanReadWhatTheEnginesPublish)
{
    auto blocks = make<BlocksEngine>();
    blocks->reset();
    blocks->begin();
    EXPECT_EQ(eval(blocks.get(), "engine.board.length").toInt(), 160);
    EXPECT_EQ(eval(blocks.get(), "engine.activeCells.length").toInt(), 4);
    EXPECT_EQ(eval(blocks.get(), "engine.shadowCells[0].y > 10").toBool(), true);
    EXPECT_EQ(eval(blocks.get(), "engine.shapeCells(0, 1)[3].y").toInt(), 3);

    auto dino = make<DinoEngine>();
    dino->reset();
    dino->setObstacles({{4, 500, 0, 15, 20, false}});
    EXPECT_EQ(eval(dino.get(), "engine.obstacles.count").toInt(), 1);
    EXPECT_EQ(eval(dino.get(), "engine.obstacles.rowCount()").toInt(), 1);

    auto snake = make<SnakeEngine>();
    EXPECT_EQ(eval(snake.get(), "engine.cells.length").toInt(), 187);
    EXPECT_EQ(eval(snake.get(), "engine.snake[0].x").toInt(), 4);
    EXPECT_EQ(eval(snake.get(), "engine.apple.y >= 0").toBool(), true);

    auto reflex = make<ReflexEngine>();
    EXPECT_EQ(eval(reflex.get(), "engine.bestMS === undefined || engine.bestMS === null").toBool(), true);

    auto stack = make<StackEngine>();
    EXPECT_EQ(eval(stack.get(), "engine.slabs.count").toInt(), 1);
    EXPECT_DOUBLE_EQ(eval(stack.get(), "engine.movingWidth").toDouble(), 0.64);
}
