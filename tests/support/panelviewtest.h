#pragma once

#include "look/animationclock.h"
#include "app/accentsetting.h"
#include "style/accent.h"
#include "support/islandtest.h"
#include "support/islandviews.h"
#include "support/qmltest.h"

#include <QQuickItem>
#include <QQuickWindow>

// A panel of the island over the island's real model and its fakes, loaded
// the way the root view loads it; every Qt warning fails the test.
class PanelViewTest : public IslandTest {
protected:
    void SetUp() override
    {
        IslandTest::SetUp();
        showAccentSetting(&fakes->settings, Accent::forEngine(&qml.engine()));
        AnimationClock::setSource(&qml.engine(), &clock, scheduler.get());
        make();
    }
    void TearDown() override
    {
        EXPECT_TRUE(qml.warnings().isEmpty()) << qml.warnings().join('\n').toStdString();
        view.reset();
        closeWindow(window);
        islandViews.reset();
        IslandTest::TearDown();
    }
    // The panel at its state's size.
    QQuickItem *open(const QString &pathUnderSrc, QSizeF size = {400, 400})
    {
        if (!islandViews)
            islandViews = std::make_unique<IslandViews>(qml, model.get(), &fakes->settings, homeParts.get());
        view = islandViews->create(pathUnderSrc, {{"width", size.width()}, {"height", size.height()}});
        auto *item = qobject_cast<QQuickItem *>(view.get());
        // In a window, as on screen: menus and pop-ups need one.
        if (item) {
            window = std::make_unique<QQuickWindow>();
            window->resize(size.toSize());
            item->setParentItem(window->contentItem());
        }
        return item;
    }
    QObject *find(const char *name) const { return view ? view->findChild<QObject *>(QLatin1String(name)) : nullptr; }
    QString text(const char *name) const
    {
        QObject *o = find(name);
        return o ? o->property("text").toString() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
    }
    bool shown(const char *name) const
    {
        auto *item = qobject_cast<QQuickItem *>(find(name));
        return item && item->isVisible();
    }

    // Every text shown in the panel, joined.
    QString allText(QQuickItem *item = nullptr) const
    {
        if (!item)
            item = qobject_cast<QQuickItem *>(view.get());
        if (!item || !item->isVisible())
            return {};
        QString all = item->property("text").toString();
        for (QQuickItem *child : item->childItems())
            all += QLatin1Char('|') + allText(child);
        return all;
    }
    // The panel's items of a QML type.
    QList<QQuickItem *> items(const char *type, QQuickItem *root = nullptr) const
    {
        if (!root)
            root = qobject_cast<QQuickItem *>(view.get());
        QList<QQuickItem *> found;
        for (QQuickItem *child : root ? root->childItems() : QList<QQuickItem *>()) {
            if (QString::fromLatin1(child->metaObject()->className()).startsWith(QLatin1String(type)))
                found << child;
            found << items(type, child);
        }
        return found;
    }

    QmlLoader qml;
    std::unique_ptr<IslandViews> islandViews;
    std::unique_ptr<QObject> view;
    std::unique_ptr<QQuickWindow> window;
};
