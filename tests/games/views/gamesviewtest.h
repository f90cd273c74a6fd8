#pragma once

#include "look/animationclock.h"
#include "app/accentsetting.h"
#include "style/accent.h"
#include "support/islandtest.h"
#include "support/islandviews.h"
#include "support/qmltest.h"
#include "support/steppedanimations.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <gtest/gtest.h>

// The games panel over the island's real model and fake clock, in a window
// so that pointer handlers and loaders run as they do on screen.
class GamesViewTest : public IslandTest {
protected:
    void SetUp() override
    {
        IslandTest::SetUp();
        showAccentSetting(&fakes->settings, Accent::forEngine(&qml.engine()));
        AnimationClock::setSource(&qml.engine(), &clock, scheduler.get());
    }
    void TearDown() override
    {
        view.reset();
        views.reset();
        closeWindow(window);
        EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
        IslandTest::TearDown();
    }

    // Turns the custom accent on in color, faded in fully.
    void setCustomAccent(const QColor &color)
    {
        SteppedAnimations animations;
        fakes->settings.setUseCustomAccent(true);
        fakes->settings.setCustomAccent(color);
        animations.step(Accent::FadeMs);
    }

    void customAccentOff()
    {
        SteppedAnimations animations;
        fakes->settings.setUseCustomAccent(false);
        animations.step(Accent::FadeMs);
    }

    // The panel in the size the island gives it for the active game.
    QQuickItem *panel(QSizeF size = {440, 432})
    {
        if (!model)
            make();
        view.reset();
        views.reset();
        closeWindow(window);
        window = std::make_unique<QQuickWindow>();
        window->resize(size.toSize());
        views = std::make_unique<IslandViews>(qml, model.get(), &fakes->settings, homeParts.get());
        view = views->create("games/GamesPanel.qml", {{"width", size.width()}, {"height", size.height()}});
        auto *item = qobject_cast<QQuickItem *>(view.get());
        if (item)
            item->setParentItem(window->contentItem());
        window->show();
        return item;
    }

    // The game view on show once its page has loaded.
    QQuickItem *page()
    {
        QQuickItem *found = nullptr;
        waitUntil([&] {
            auto *frame = view->property("currentFrame").value<QQuickItem *>();
            found = frame ? frame->property("view").value<QQuickItem *>() : nullptr;
            return found != nullptr;
        });
        return found;
    }

    static QQuickItem *named(QQuickItem *root, const QString &name)
    {
        if (!root)
            return nullptr;
        if (root->objectName() == name)
            return root;
        for (QQuickItem *child : root->childItems()) {
            if (QQuickItem *found = named(child, name))
                return found;
        }
        return nullptr;
    }
    static QString text(QQuickItem *root, const QString &name)
    {
        QQuickItem *item = named(root, name);
        return item ? item->property("text").toString() : QStringLiteral("<none>");
    }
    static bool shows(QQuickItem *root, const QString &name)
    {
        QQuickItem *item = named(root, name);
        return item && item->isVisible();
    }
    // Every text shown under root, joined by "|".
    static QString allText(QQuickItem *root)
    {
        QString out;
        if (!root || !root->isVisible())
            return out;
        const QString t = root->property("text").toString();
        if (!t.isEmpty())
            out += t + QLatin1Char('|');
        for (QQuickItem *child : root->childItems())
            out += allText(child);
        return out;
    }

    QmlLoader qml;
    std::unique_ptr<IslandViews> views;
    std::unique_ptr<QQuickWindow> window;
    std::unique_ptr<QObject> view;
};
