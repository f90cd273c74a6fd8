#pragma once

#include "support/islandtest.h"
#include "support/qmltest.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
#include <memory>

// Loads the island's views into a window over the island's real model (on
// the fake clock and scheduler, which also drive the animation clock); every
// Qt warning meanwhile is collected.
class IslandViewTest : public IslandTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A view by its path under src/island ("NotchView.qml") or under src/
    // ("media/PlayingBars.qml"), placed in the window.
    QQuickItem *load(const QString &file, const QVariantMap &properties = {});
    // The model and the settings store added to properties.
    QVariantMap withModel(QVariantMap properties = {}) const;
    // Runs the event loop for a moment so animations step.
    void spin(int ms);
    QQuickItem *findItem(QQuickItem *root, const char *type) const;
    QQmlEngine *engine() { return &qml.engine(); }
    // Every warning but the offscreen platform's notes on what it cannot do
    // (raising a window, for one).
    QStringList warnings() const;

    QmlLoader qml;
    std::unique_ptr<QQuickWindow> window;

private:
    QList<QQuickItem *> m_items;
};
