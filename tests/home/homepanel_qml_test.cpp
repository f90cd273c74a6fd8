#include "animationclock.h"
#include "appsettings.h"
#include "homemodel.h"
#include "keepawake.h"
#include "islandpalette.h"
#include "islandtest.h"
#include "qmltest.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QQuickItem>
#include <QQuickWindow>
#include <gtest/gtest.h>

// The Home panel and its cards over the island's real model: every card
// builds without a warning, in and out of edit mode, and reports its height.
class HomePanelQmlTest : public IslandTest {
protected:
    void SetUp() override
    {
        IslandTest::SetUp();
        IslandPalette::setDefaults(&qml.engine(), defaults.get());
        AnimationClock::setSource(&qml.engine(), &clock, scheduler.get());
        make();
    }
    void TearDown() override
    {
        view.reset();
        window.reset();
        IslandTest::TearDown();
    }
    QQuickItem *create(const QString &file)
    {
        view = qml.create(file, {{"model", QVariant::fromValue<QObject *>(model.get())},
                                 {"settings", QVariant::fromValue<QObject *>(&fakes->settings)},
                                 {"width", 404},
                                 {"height", 560}});
        auto *item = qobject_cast<QQuickItem *>(view.get());
        if (item) {
            // Positioners lay out only in a window.
            window = std::make_unique<QQuickWindow>();
            window->resize(404, 560);
            item->setParentItem(window->contentItem());
            window->show();
        }
        return item;
    }
    // Lets the asynchronous card loaders finish.
    void settle(int ms = 300)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    static QString allText(QQuickItem *item)
    {
        QString text = item->property("text").toString();
        for (QQuickItem *child : item->childItems())
            text += QLatin1Char('|') + allText(child);
        return text;
    }
    QmlLoader qml;
    std::unique_ptr<QObject> view;
    std::unique_ptr<QQuickWindow> window;
};

TEST_F(HomePanelQmlTest, EveryCardBuildsInAndOutOfEditMode)
{
    fakes->settings.setDisabledModules(QString());
    QQuickItem *panel = create(QStringLiteral("home/HomePanel.qml"));
    ASSERT_TRUE(panel) << qml.warnings().join('\n').toStdString();
    settle();
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
    const QString text = allText(panel);
    for (const char *expected : {"NOW PLAYING", "TIMER", "WORLD CLOCKS", "SYSTEM", "QUICK ACTIONS", "Allow sleep",
                                 "SPEED TEST", "COMPRESS", "MIC CHECK", "Nothing playing", "BETA"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
    EXPECT_GT(model->homeContentHeight(), 200);

    model->keepAwake()->toggle();
    settle(50);
    EXPECT_TRUE(allText(panel).contains(QLatin1String("Keeping this computer awake")));

    model->setEditingModules(true);
    settle();
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
    EXPECT_TRUE(allText(panel).contains(QLatin1String("Shipped modules are on.")));
}

TEST_F(HomePanelQmlTest, VoiceMemosPanelBuilds)
{
    QQuickItem *panel = create(QStringLiteral("media/VoiceMemosPanel.qml"));
    ASSERT_TRUE(panel) << qml.warnings().join('\n').toStdString();
    settle(100);
    EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
    EXPECT_TRUE(allText(panel).contains(QLatin1String("No memos yet")));
}
