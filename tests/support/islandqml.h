#pragma once

#include "canvas/canvascredentials.h"
#include "core/appnotifications.h"
#include "fakes/fakesecretstore.h"
#include "store/appsettings.h"
#include "support/pavlettest.h"
#include "support/qmltest.h"

#include <QObject>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
#include <memory>

// Loads the island's views into a window with a view model double whose
// fields carry the view model's names, over a real settings store; every Qt
// warning meanwhile is collected.
class IslandViewTest : public PavletTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A view by its path under src/island ("NotchView.qml") or under src/
    // ("media/PlayingBars.qml"), placed in the window.
    QQuickItem *load(const QString &file, const QVariantMap &properties = {});
    // The view model double (and the settings store) added to properties.
    QVariantMap withModel(QVariantMap properties = {}, bool withSettings = true) const;
    // Runs the event loop for a moment so timers and animations step.
    void spin(int ms);
    QObject *model() const { return m_model.get(); }
    QQuickItem *findItem(QQuickItem *root, const char *type) const;
    QQmlEngine *engine() { return &qml.engine(); }
    // Every warning but the offscreen platform's notes on what it cannot do
    // (raising a window, for one).
    QStringList warnings() const;

    QmlLoader qml;
    FakeSecretStore secrets;
    AppNotifications notifications;
    std::unique_ptr<CanvasCredentialStore> credentials;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<QQuickWindow> window;

private:
    std::unique_ptr<QObject> m_model;
    QList<QQuickItem *> m_items;
};
