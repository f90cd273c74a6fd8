#pragma once

#include "pavlettest.h"

#include <QColor>
#include <QObject>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
#include <memory>

#include "appnotifications.h"
#include "appsettings.h"
#include "canvascredentials.h"
#include "fakesecretstore.h"

// Stands in for the island palette until the real one is part of the module.
class PaletteDouble : public QObject {
    Q_OBJECT
    Q_PROPERTY(QColor textPrimary MEMBER textPrimary CONSTANT)
    Q_PROPERTY(QColor textSecondary MEMBER textSecondary CONSTANT)
    Q_PROPERTY(QColor fillStrong MEMBER fillStrong CONSTANT)
    Q_PROPERTY(QColor green MEMBER green CONSTANT)
    Q_PROPERTY(QColor pink MEMBER pink CONSTANT)
    Q_PROPERTY(QColor red MEMBER red CONSTANT)
    Q_PROPERTY(QColor amber MEMBER amber CONSTANT)
    Q_PROPERTY(QColor sky MEMBER sky CONSTANT)
    Q_PROPERTY(QColor mint MEMBER mint CONSTANT)
    Q_PROPERTY(QColor coral MEMBER coral CONSTANT)
    Q_PROPERTY(QColor yellow MEMBER yellow CONSTANT)
    Q_PROPERTY(QColor blue MEMBER blue CONSTANT)
    Q_PROPERTY(QColor orange MEMBER orange CONSTANT)
public:
    using QObject::QObject;
    Q_INVOKABLE QColor accent(const QColor &c) const { return c; }

    QColor textPrimary = QColor::fromRgbF(1, 1, 1, 0.92);
    QColor textSecondary = QColor::fromRgbF(1, 1, 1, 0.58);
    QColor fillStrong = QColor::fromRgbF(1, 1, 1, 0.14);
    QColor green = QColor::fromRgbF(0.12, 0.84, 0.38);
    QColor pink = QColor::fromRgbF(0.98, 0.38, 0.50);
    QColor red = QColor::fromRgbF(0.94, 0.32, 0.32);
    QColor amber = QColor::fromRgbF(0.98, 0.76, 0.28);
    QColor sky = QColor::fromRgbF(0.47, 0.80, 0.98);
    QColor mint = QColor::fromRgbF(0.32, 0.84, 0.74);
    QColor coral = QColor::fromRgbF(1.00, 0.48, 0.42);
    QColor yellow = QColor::fromRgbF(1.00, 0.84, 0.40);
    QColor blue = QColor::fromRgbF(0.38, 0.58, 1.00);
    QColor orange = QColor::fromRgbF(1.00, 0.74, 0.22);
};

// Loads the island's views into a window with a view model double whose
// fields carry the view model's names, and collects every QML warning.
class IslandQmlTest : public PavletTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A view of src/island (or another folder: "media/PlayingBars.qml").
    QQuickItem *load(const QString &file, const QVariantMap &properties = {});
    // The view model double (and the settings store) added to properties.
    QVariantMap withModel(QVariantMap properties = {}, bool withSettings = true) const;
    // Runs the event loop for a moment so timers and animations step.
    void spin(int ms);
    QObject *model() const { return m_model.get(); }
    QQuickItem *findItem(QQuickItem *root, const char *type) const;

    std::unique_ptr<QQmlEngine> engine;
    std::unique_ptr<QQuickWindow> window;
    // A settings store over a fake secret store.
    std::unique_ptr<AppSettings> makeSettings();
    FakeSecretStore secrets;
    AppNotifications notifications;
    std::unique_ptr<CanvasCredentialStore> credentials;
    std::unique_ptr<AppSettings> settings;
    QStringList warnings;

private:
    std::unique_ptr<QObject> m_model;
    QList<QQuickItem *> m_items;
};
