#include "core/random.h"
#include "games/blackjackengine.h"
#include "games/patternengine.h"
#include "games/stack4engine.h"
#include "games/toeengine.h"
#include "games/wordleengine.h"
#include "support/pavlettest.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>

// The game views read the engines' values from QML: hands and tiles are
// gadgets inside lists, optional values are null.
using GamesQmlTest = PavletTest;

static QVariant eval(QQmlEngine &qml, const QString &expression)
{
    QQmlExpression expr(qml.rootContext(), nullptr, expression);
    const QVariant v = expr.evaluate();
    EXPECT_FALSE(expr.hasError()) << expr.error().toString().toStdString();
    return v;
}

TEST_F(GamesQmlTest, EngineValuesReadFromQml)
{
    Random random(5);
    BlackjackEngine blackjack(defaults.get(), &clock, scheduler.get(), &random);
    ToeEngine toe(defaults.get(), &clock, scheduler.get(), &random);
    Stack4Engine stack4(defaults.get(), &clock, scheduler.get(), &random);
    WordleEngine wordle(defaults.get(), &clock, scheduler.get(), &random);
    PatternEngine pattern(defaults.get(), &clock, scheduler.get(), &random);

    QQmlEngine qml;
    qml.rootContext()->setContextProperty("blackjack", &blackjack);
    qml.rootContext()->setContextProperty("toe", &toe);
    qml.rootContext()->setContextProperty("stack4", &stack4);
    qml.rootContext()->setContextProperty("wordle", &wordle);
    qml.rootContext()->setContextProperty("pattern", &pattern);

    blackjack.startBuyIn(250);
    blackjack.deal();
    EXPECT_EQ(eval(qml, "blackjack.player.bank").toInt(), 225);
    EXPECT_EQ(eval(qml, "blackjack.total(blackjack.player.cards)").toInt(),
              BlackjackEngine::total(blackjack.player().cards));
    EXPECT_EQ(eval(qml, "blackjack.dealer.cards[0].label").toString(),
              blackjack.dealer().cards[0].label());

    EXPECT_TRUE(eval(qml, "toe.versus.local === false && toe.versus.level === 'medium'").toBool());
    eval(qml, "toe.setVersusLocal()");
    EXPECT_TRUE(toe.versus().isLocal());
    EXPECT_TRUE(eval(qml, "toe.outcome === null && stack4.fallingIndex === null").toBool());
    EXPECT_EQ(eval(qml, "stack4.fallAnimation.curve + stack4.board.length").toString(), "none42");

    wordle.type("q");
    EXPECT_EQ(eval(qml, "wordle.tiles[0].letter + wordle.tiles.length").toString(), "q30");

    EXPECT_TRUE(eval(qml, "blackjack.outcome === null && pattern.lit === null").toBool());
}
