#pragma once

#include "canvas/canvascredentials.h"
#include "core/appnotifications.h"
#include "fakes/fakepermissionbackend.h"
#include "fakes/fakesecretstore.h"
#include "store/appsettings.h"
#include "store/permissioncenter.h"
#include "support/pavlettest.h"

// A settings store over fakes: secrets, login item and permission backend.
class AppFixture : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        credentials = std::make_unique<CanvasCredentialStore>(&secrets, defaults.get(), tempPath("legacy/canvas-token"));
        permissions = std::make_unique<PermissionCenter>(&backend, defaults.get(), scheduler.get(), &notifications);
    }
    void TearDown() override
    {
        settingsStore.reset();
        PavletTest::TearDown();
    }
    AppSettings &settings()
    {
        if (!settingsStore)
            settingsStore = std::make_unique<AppSettings>(defaults.get(), &loginItem, permissions.get(),
                                                          credentials.get(), &notifications);
        return *settingsStore;
    }
    // A new run: fresh credential cache and settings store over the same data.
    void restart()
    {
        settingsStore.reset();
        credentials = std::make_unique<CanvasCredentialStore>(&secrets, defaults.get(), tempPath("legacy/canvas-token"));
    }
    void storeToken(const QString &token)
    {
        secrets.items.insert({QStringLiteral("com.pavlet.app"), QStringLiteral("CANVAS_TOKEN")}, token.toUtf8());
    }
    QByteArray storedToken() const
    {
        return secrets.items.value({QStringLiteral("com.pavlet.app"), QStringLiteral("CANVAS_TOKEN")});
    }

    AppNotifications notifications;
    FakeSecretStore secrets;
    FakePermissionBackend backend;
    FakeLoginItem loginItem;
    std::unique_ptr<CanvasCredentialStore> credentials;
    std::unique_ptr<PermissionCenter> permissions;
    std::unique_ptr<AppSettings> settingsStore;
};
