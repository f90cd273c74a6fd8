#pragma once

#include "fakes/fakeactivationpolicy.h"
#include "app/accentsetting.h"
#include "support/pavlettest.h"
#include "fakes/islandfakes.h"
#include "style/accent.h"
#include "settings/modulespresenter.h"
#include "settings/permissionspresenter.h"
#include "settings/settingsnavigation.h"
#include "settings/updatecardmodel.h"
#include "settings/worldclockseditormodel.h"
#include "support/qmltest.h"
#include "settings/settingswindowcontroller.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <memory>

// The settings window's controller over the fake platform, the real
// settings store and the real update service; its QML loads into a
// collecting engine.
class SettingsTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        fakes = std::make_unique<IslandFakes>(defaults.get(), clock, scheduler.get());
        showAccentSetting(&fakes->settings, Accent::forEngine(&qml.engine()));
    }

    void TearDown() override
    {
        controller.reset();
        fakes.reset();
        PavletTest::TearDown();
    }

    SettingsWindowController &make()
    {
        SettingsWindowController::Parts parts;
        parts.settings = &fakes->settings;
        parts.updater = &fakes->updater;
        parts.permissions = &fakes->permissions;
        parts.credentials = &fakes->credentials;
        parts.defaults = defaults.get();
        parts.notifications = &fakes->notifications;
        parts.activation = &activation;
        parts.launcher = &fakes->launcher;
        parts.scheduler = scheduler.get();
        parts.clock = &clock;
        parts.random = &fakes->random;
        parts.engine = &qml.engine();
        controller = std::make_unique<SettingsWindowController>(parts);
        return *controller;
    }

    // The first shown item under root whose objectName is name.
    static QQuickItem *find(QQuickItem *root, const QString &name)
    {
        if (!root || !root->isVisible())
            return nullptr;
        if (root->objectName() == name)
            return root;
        for (QQuickItem *child : root->childItems()) {
            if (QQuickItem *hit = find(child, name))
                return hit;
        }
        return nullptr;
    }

    // Qt's warnings, without the offscreen platform's notes on what it
    // cannot do.
    QStringList warnings() const
    {
        QStringList list = qml.warnings();
        list.removeIf([](const QString &w) { return w.contains(QLatin1String("does not support")); });
        return list;
    }

    void completeSetup() { defaults->setBool(QStringLiteral("permissionsSetupCompleted"), true); }

    QmlLoader qml;
    FakeActivationPolicy activation;
    std::unique_ptr<IslandFakes> fakes;
    std::unique_ptr<SettingsWindowController> controller;
};
