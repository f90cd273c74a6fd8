#include "support/islandtest.h"

#include "games/gameregistry.h"
#include "island/islandmetrics.h"
#include "settings/settingsnavigation.h"
#include "store/homemodule.h"

#include <QDirIterator>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QSet>

// Every game of the registry reaches the island whole: its page's name, its
// frame, its own engine and the record its card shows.
class GameRegistryTest : public IslandTest {};

TEST_F(GameRegistryTest, EveryPageOfTheIslandHasItsRowAndNoRowIsLeftOver)
{
    const QMetaEnum pages = QMetaEnum::fromType<PavletGame>();
    const QList<GameEntry> &games = GameRegistry::games();
    // The arcade is the one page without a row.
    ASSERT_EQ(pages.keyCount(), games.size() + 1);
    EXPECT_EQ(GameRegistry::find(int(PavletGame::hub)), nullptr);
    EXPECT_EQ(GameRegistry::find(int(games.size()) + 1), nullptr);
    for (const GameEntry &game : games) {
        EXPECT_STREQ(pages.valueToKey(game.game), game.id);
        EXPECT_EQ(GameRegistry::find(game.game), &game) << game.id;
    }
}

TEST_F(GameRegistryTest, EachGameHasItsOwnEngineAPageAndARecordTheCardCanFollow)
{
    make();
    ASSERT_EQ(model->gameEngines().size(), GameRegistry::games().size());
    QSet<QByteArray> engineTypes;
    for (const GameEntry &game : GameRegistry::games()) {
        const auto page = PavletGame(game.game);
        ArcadeEngine *engine = model->gameEngine(page);
        ASSERT_TRUE(engine) << game.id;
        EXPECT_EQ(model->gameEngines().at(game.game - 1), engine) << game.id;
        // Two rows building one kind of engine would share keys and records.
        EXPECT_FALSE(engineTypes.contains(engine->metaObject()->className())) << game.id;
        engineTypes.insert(engine->metaObject()->className());

        // The frame has a page to show, no wider than the widest panel.
        const QSizeF size = IslandMetrics::gamePage(page);
        EXPECT_GT(size.height(), 0) << game.id;
        EXPECT_GT(size.width(), 0) << game.id;
        EXPECT_LE(size.width(), 440) << game.id;

        // The card reads its record from a property that announces changes.
        const QMetaObject *meta = engine->metaObject();
        const int index = meta->indexOfProperty(game.recordProperty);
        ASSERT_GE(index, 0) << game.id << " has no " << game.recordProperty;
        EXPECT_TRUE(meta->property(index).hasNotifySignal()) << game.id;
        EXPECT_TRUE(meta->property(index).isReadable()) << game.id;

        EXPECT_TRUE(QByteArray(game.view).endsWith(".qml")) << game.id;
        EXPECT_TRUE(QByteArray(game.mark).endsWith(".qml")) << game.id;
    }
}

TEST_F(GameRegistryTest, OnlyTheRegistryCountsTheGames)
{
    const QString count = GameRegistry::countInWords();
    EXPECT_EQ(HomeModules::detail(HomeModule::games), count + " games in the notch");
    QStringList gestures;
    for (const QVariant &row : SettingsNavigation::gestureRows())
        gestures << row.value<GestureRow>().effect;
    EXPECT_TRUE(gestures.contains(count + " arcade games in the notch")) << gestures.join('|').toStdString();
    EXPECT_TRUE(GameRegistry::arcadeSubtitle().startsWith(count + " games"));

    // No other source writes a count of games of its own.
    const QRegularExpression counted(
        QStringLiteral("(?<![%\\w])(one|two|three|four|five|six|seven|eight|nine|ten|eleven|twelve|thirteen|fourteen|"
                       "fifteen|sixteen|seventeen|eighteen|nineteen|twenty|\\d+) (arcade )?games\\b"),
        QRegularExpression::CaseInsensitiveOption);
    const QString src = QStringLiteral(PAVLET_SOURCE_DIR "/src/");
    QDirIterator it(src, {"*.cpp", "*.h", "*.qml"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String("games/gameregistry.cpp")))
            continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QRegularExpressionMatch found = counted.match(QString::fromUtf8(file.readAll()));
        EXPECT_FALSE(found.hasMatch()) << path.mid(src.size()).toStdString() << ": " << found.captured().toStdString();
    }
}
