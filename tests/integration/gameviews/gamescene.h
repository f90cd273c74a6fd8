#pragma once

#include "look/animationclock.h"
#include "app/accentsetting.h"
#include "island/islandmetrics.h"
#include "style/accent.h"
#include "notch/notchgeometry.h"
#include "support/islandtest.h"
#include "support/qmltest.h"
#include "support/screenshots.h"

#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <gtest/gtest.h>

// The island over the real model, drawn in a window over a stand-in desktop
// of the given height, for pictures of its games.
class GameSceneTest : public IslandTest {
protected:
    explicit GameSceneTest(int sceneHeight)
        : sceneHeight(sceneHeight)
    {
    }
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X display for GL rendering";
        IslandTest::SetUp();
        showAccentSetting(&fakes->settings, Accent::forEngine(&qml.engine()));
        AnimationClock::setSource(&qml.engine(), &clock, scheduler.get());
        fakes->settings.setShowClockWhenIdle(false);
        make();
        outDir = Screenshots::outputDir();
        window = std::make_unique<QQuickWindow>();
        window->setColor(Qt::transparent);
        QQmlComponent component(&qml.engine());
        component.setData(QByteArray(sceneSource).replace("SCENE_HEIGHT", QByteArray::number(sceneHeight)),
                          QUrl::fromLocalFile(tempPath("Scene.qml")));
        scene.reset(qobject_cast<QQuickItem *>(component.createWithInitialProperties(
            {{"model", QVariant::fromValue<QObject *>(model.get())},
             {"settings", QVariant::fromValue<QObject *>(&fakes->settings)},
             {"homeParts", QVariant::fromValue<QObject *>(homeParts.get())}})));
        ASSERT_TRUE(scene) << component.errorString().toStdString();
        window->resize(int(scene->width()), int(scene->height()));
        scene->setParentItem(window->contentItem());
        window->show();
    }
    void TearDown() override
    {
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            scene.reset();
            closeWindow(window);
            const QStringList w = Screenshots::withoutPlatformNotes(qml.warnings());
            EXPECT_TRUE(w.isEmpty()) << w.join('\n').toStdString();
        }
        IslandTest::TearDown();
    }

    // Sizes the island as the window controller does for game's page.
    void fitIsland(PavletGame game)
    {
        const QSizeF page = IslandMetrics::gamePage(game);
        scene->setProperty("islandSize", QSizeF(page.width(), model->notchHeight() + 36 + page.height()));
    }
    QRect island() const
    {
        auto *item = scene->property("island").value<QQuickItem *>();
        return QRectF(item->x(), item->y(), item->width(), item->height()).toRect();
    }
    static void spin(int ms) { Screenshots::spin(ms); }
    // Waits firstMs, then until two grabs gapMs apart match.
    QImage shoot(const QString &name, int firstMs, int gapMs, int tries)
    {
        const QImage image = Screenshots::settled([this] { return window->grabWindow(); }, firstMs, gapMs, tries);
        Screenshots::save(image, outDir, name);
        return image;
    }

    QmlLoader qml;
    std::unique_ptr<QQuickWindow> window;
    std::unique_ptr<QQuickItem> scene;
    QString outDir;

private:
    static constexpr const char *sceneSource = R"(
import QtQuick
import Pavlet
Item {
    id: scene
    width: 560
    height: SCENE_HEIGHT
    property var model
    property var settings
    property var homeParts
    property size islandSize: Qt.size(428, 428)
    property alias island: island
    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0; color: "#3a6ea5" }
            GradientStop { position: 1; color: "#a5c8e4" }
        }
    }
    NotchIsland {
        id: island
        x: Math.round((scene.width - width) / 2)
        width: scene.islandSize.width
        height: scene.islandSize.height
        model: scene.model
        settings: scene.settings
        homeParts: scene.homeParts
    }
}
)";
    int sceneHeight;
};
