#pragma once

#include "fakes/fakewindowparts.h"
#include "app/accentsetting.h"
#include "support/localhttpserver.h"
#include "support/panelviewtest.h"
#include "support/patience.h"
#include "support/screenshots.h"

#include <QQmlEngine>
#include <QQmlIncubationController>
#include <QDir>
#include <QQuickItem>
#include <QQuickWindow>

// The island's own window over the island's real model, on the display:
// the state is changed through the model, keys go through the window's key
// routing, and each picture is taken of the window itself.
class IslandWindowShots : public IslandTest, protected FakeWindowParts {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X display";
        // The update host, over TLS like the real one.
        LocalHttpServer::trustTestCertificate();
        ASSERT_TRUE(updateServer.listenTls());
        updateBase = updateServer.baseUrl();
        IslandTest::SetUp();
        // The translator's web endpoint, answered here.
        ASSERT_TRUE(server.listen());
        fakes->translatorBase = server.baseUrl();
        showAccentSetting(&fakes->settings, Accent::forEngine(&qml.engine()));
        AnimationClock::setSource(&qml.engine(), &clock, scheduler.get());
        make();
        NotchWindowController::Parts parts = windowParts(&clock, scheduler.get(), model.get(), &qml.engine());
        parts.homeParts = homeParts.get();
        controller = std::make_unique<NotchWindowController>(&fakes->settings, parts);
        ASSERT_TRUE(controller->panel()->content());
        controller->snap();
        controller->panel()->show();
        outDir = Screenshots::outputDir();
    }
    void TearDown() override
    {
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            const QStringList warnings = Screenshots::withoutPlatformNotes(qml.warnings());
            EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
        }
        if (controller)
            controller->teardown();
        controller.reset();
        IslandTest::TearDown();
    }

    static void spin(int ms) { Screenshots::spin(ms); }
    // The open island's panels are compiled in the background on its first
    // opening; waits until they are there.
    void panelsCompiled()
    {
        QQuickItem *island = findByType(controller->panel()->content(), "NotchIsland");
        ASSERT_TRUE(island);
        EXPECT_TRUE(Patience::until([&] {
            return model->state() == Island::NotchState::collapsed || island->property("table").value<QObject *>();
        }, 10000)) << "the panels not compiled";
    }
    // Lets the frame springs settle on the fake clock and the views' springs
    // in real time, then takes the island's rectangle once two frames agree.
    QImage shoot(const QString &name)
    {
        for (int i = 0; i < 120; ++i)
            scheduler->advance(16);
        controller->snap();
        panelsCompiled();
        // Panels are built between frames: wait until nothing is still being built.
        if (QQmlEngine *engine = qmlEngine(controller->panel()->content())) {
            Patience::until([engine] {
                return !engine->incubationController() || engine->incubationController()->incubatingObjectCount() == 0;
            }, 5000);
        }
        QImage image = Screenshots::settled([this] { return controller->panel()->grabWindow(); }, 600, 120, 30);
        const QRect island = controller->panel()->islandRect().toAlignedRect();
        image = image.copy(island.intersected(image.rect()));
        Screenshots::save(image, outDir, name);
        return image;
    }
    static QQuickItem *findByType(QQuickItem *root, const char *type)
    {
        for (QQuickItem *child : root->childItems()) {
            if (QString::fromLatin1(child->metaObject()->className()).startsWith(QLatin1String(type)))
                return child;
            if (QQuickItem *found = findByType(child, type))
                return found;
        }
        return nullptr;
    }
    // Whether some pixel in the rectangle is close to colour.
    static bool anyNear(const QImage &image, const QRect &area, const QColor &color, int tolerance = 30)
    {
        return Screenshots::anyNear(image, area, color, tolerance);
    }

    LocalHttpServer server;
    LocalHttpServer updateServer;
    QmlLoader qml;
    std::unique_ptr<NotchWindowController> controller;
    QString outDir;
};
