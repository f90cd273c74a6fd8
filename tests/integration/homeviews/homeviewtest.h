#pragma once

#include "look/animationclock.h"
#include "app/accentsetting.h"
#include "store/appsettings.h"
#include "store/homemodule.h"
#include "style/accent.h"
#include "support/islandtest.h"
#include "support/islandviews.h"
#include "island/notchviewmodel.h"
#include "support/qmltest.h"
#include "support/screenshots.h"
#include "services/timerstore.h"
#include "media/voicememoengine.h"
#include "services/weatherservice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QQuickWindow>
#include <gtest/gtest.h>

// Draws Home, its edit mode, every card and the voice memos panel over the
// island's real model, checks a few pixels, and writes the pictures to
// $PAVLET_SCREENSHOT_DIR when it is set.
class HomeScreenshotTest : public IslandTest {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X display for GL rendering";
        IslandTest::SetUp();
        showAccentSetting(&fakes->settings, Accent::forEngine(&qml.engine()));
        AnimationClock::setSource(&qml.engine(), &clock, scheduler.get());
        outDir = Screenshots::outputDir();
    }
    void TearDown() override
    {
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
        }
        views.clear();
        closeWindow(window);
        islandViews.reset();
        IslandTest::TearDown();
    }

    QQuickItem *show(const QString &file, QSize size, QVariantMap properties = {})
    {
        if (!islandViews || islandViews->model() != model.get()) {
            views.clear();
            islandViews = std::make_unique<IslandViews>(qml, model.get(), &fakes->settings, homeParts.get());
        }
        properties.insert(QStringLiteral("width"), size.width());
        properties.insert(QStringLiteral("height"), size.height());
        auto view = islandViews->create(file, properties);
        auto *item = qobject_cast<QQuickItem *>(view.get());
        if (!item) {
            ADD_FAILURE() << qml.warnings().join('\n').toStdString();
            return nullptr;
        }
        views.clear();
        closeWindow(window);
        window = std::make_unique<QQuickWindow>();
        window->setColor(QColor(0x3a, 0x6e, 0xa5));
        window->resize(size);
        item->setParentItem(window->contentItem());
        window->show();
        views.push_back(std::move(view));
        return item;
    }

    void spin(int ms)
    {
        // The fake time follows the real one, so the springs settle.
        QElapsedTimer elapsed;
        elapsed.start();
        qint64 stepped = 0;
        while (elapsed.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            const qint64 now = elapsed.elapsed();
            scheduler->advance(now - stepped);
            stepped = now;
        }
    }

    QImage shoot(const QString &name, int settleMs = 600)
    {
        spin(settleMs);
        QImage image = window->grabWindow();
        Screenshots::save(image, outDir, name);
        return image;
    }

    static bool near(const QColor &a, const QColor &b, int tolerance = 12) { return Screenshots::near(a, b, tolerance); }

    QmlLoader qml;
    std::unique_ptr<QQuickWindow> window;
    std::vector<std::unique_ptr<QObject>> views;
    std::unique_ptr<IslandViews> islandViews;
    QString outDir;
};

