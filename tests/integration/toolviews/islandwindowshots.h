#pragma once

#include "fakes/fakewindowparts.h"
#include "support/localhttpserver.h"
#include "support/panelviewtest.h"

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
        IslandPalette::setDefaults(&qml.engine(), defaults.get());
        AnimationClock::setSource(&qml.engine(), &clock, scheduler.get());
        make();
        controller = std::make_unique<NotchWindowController>(
            &fakes->settings, windowParts(&clock, scheduler.get(), model.get(), &qml.engine()));
        QQuickItem *content = controller->panel()->content();
        ASSERT_TRUE(content);
        content->setProperty("settings", QVariant::fromValue<QObject *>(&fakes->settings));
        content->setProperty("model", QVariant::fromValue<QObject *>(model.get()));
        controller->snap();
        controller->panel()->show();
        outDir = qEnvironmentVariable("PAVLET_SCREENSHOT_DIR");
        if (!outDir.isEmpty())
            QDir().mkpath(outDir);
    }
    void TearDown() override
    {
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            QStringList warnings = qml.warnings();
            warnings.removeIf([](const QString &w) { return w.startsWith(QLatin1String("This plugin does not support")); });
            EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
        }
        if (controller)
            controller->teardown();
        controller.reset();
        IslandTest::TearDown();
    }

    static void spin(int ms)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    // Lets the frame springs settle on the fake clock and the views' springs
    // in real time, then takes the island's rectangle once two frames agree.
    QImage shoot(const QString &name)
    {
        for (int i = 0; i < 120; ++i)
            scheduler->advance(16);
        controller->snap();
        spin(600);
        // Panels are built between frames: wait until nothing is still being built.
        if (QQmlEngine *engine = qmlEngine(controller->panel()->content())) {
            for (int tries = 0; tries < 100 && engine->incubationController()
                                && engine->incubationController()->incubatingObjectCount() > 0; ++tries)
                spin(50);
        }
        QImage image = controller->panel()->grabWindow();
        for (int tries = 0; tries < 30; ++tries) {
            spin(120);
            QImage next = controller->panel()->grabWindow();
            const bool settled = next == image;
            image = std::move(next);
            if (settled)
                break;
        }
        const QRect island = controller->panel()->islandRect().toAlignedRect();
        image = image.copy(island.intersected(image.rect()));
        if (!outDir.isEmpty())
            image.save(QDir(outDir).filePath(name + QStringLiteral(".png")));
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
        const QRect r = area.intersected(image.rect());
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::abs(c.red() - color.red()) <= tolerance && std::abs(c.green() - color.green()) <= tolerance
                    && std::abs(c.blue() - color.blue()) <= tolerance)
                    return true;
            }
        return false;
    }

    LocalHttpServer server;
    LocalHttpServer updateServer;
    QmlLoader qml;
    std::unique_ptr<NotchWindowController> controller;
    QString outDir;
};
