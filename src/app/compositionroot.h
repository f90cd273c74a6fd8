#pragma once

#include "core/appnotifications.h"
#include "core/clock.h"
#include "core/executor.h"
#include "core/gridanimationdriver.h"
#include "core/random.h"
#include "core/scheduler.h"
#include "core/userdefaults.h"
#include "platform/platform.h"

#include <QUrl>
#include <memory>

class AppDelegate;
class AppSettings;
class CanvasCredentialStore;
class GameModeHotkeyCenter;
class HomeParts;
class IslandEditController;
class IslandServices;
class NotchViewModel;
class PermissionCenter;
class QNetworkAccessManager;
class QQmlEngine;
class FieldPaste;
class SettingsWindowController;
class UpdateService;

// Builds the running program: the Linux backends, the user defaults, the
// clock, the scheduler, the random generator and the notification hub, and
// every object on top of them, each handed what it needs through its
// constructor. It is the only place that names the Linux classes; the rest of
// the program sees them as the interfaces of Platform. Lives as long as the
// program runs.
class CompositionRoot {
public:
    // What a run may take from elsewhere than the machine's own backends and
    // services; by default nothing. The journeys use it for the devices a
    // test machine lacks (camera, media players) and for web services served
    // on 127.0.0.1.
    struct Options {
        // Every capability set here replaces the Linux backend of the same
        // name; the ones left null keep it.
        Platform replacements;
        // The web services' addresses; empty keeps the public ones.
        QUrl weatherBase;
        QUrl translatorBase;
        QUrl speedTestBase;
        QUrl updateBase;
    };

    explicit CompositionRoot(const Options &options = {});
    ~CompositionRoot();
    CompositionRoot(const CompositionRoot &) = delete;
    CompositionRoot &operator=(const CompositionRoot &) = delete;

    // Why the program cannot show a window here (no display to connect to),
    // or empty; asked before anything is built.
    static QString missingDisplayReason();
    // Lets go of what that question held open, once the application has
    // its own connection to the display.
    static void releaseDisplayCheck();

    // Starts the program (see AppDelegate::start), once the event loop is
    // about to run.
    void start();
    // Shuts the island down: the editor, its window, then its model.
    void shutdown();

    const Platform &platform() const { return m_platform; }
    UserDefaults &defaults() { return m_defaults; }
    Clock &clock() { return m_clock; }
    Scheduler &scheduler() { return m_scheduler; }
    Random &random() { return m_random; }
    AppNotifications &notifications() { return m_notifications; }
    AppSettings &settings() { return *m_settings; }
    AppDelegate &delegate() { return *m_delegate; }
    UpdateService &updates() { return *m_updates; }
    NotchViewModel &island() { return *m_island; }
    SettingsWindowController &settingsWindow() { return *m_settingsWindow; }

private:
    struct LinuxBackends;

    void connectIslandEditor();
    void connectSettingsWindow();
    void connectMemoryGiveBack();
    void giveBackMemory();

    UserDefaults m_defaults;
    SystemClock m_clock;
    QtScheduler m_scheduler;
    GridAnimationDriver m_animations{&m_scheduler};
    Random m_random;
    ThreadPoolExecutor m_executor;
    AppNotifications m_notifications;
    std::unique_ptr<LinuxBackends> m_linux;
    Platform m_platform;
    std::unique_ptr<CanvasCredentialStore> m_credentials;
    std::unique_ptr<PermissionCenter> m_permissions;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<QNetworkAccessManager> m_network;
    std::unique_ptr<UpdateService> m_updates;
    // The island's engines and services outlive its model.
    std::unique_ptr<IslandServices> m_islandServices;
    std::unique_ptr<NotchViewModel> m_island;
    std::unique_ptr<HomeParts> m_homeParts;
    std::unique_ptr<QQmlEngine> m_engine;
    // Pastes into every text field; its word beside a field comes from the engine.
    std::unique_ptr<FieldPaste> m_fieldPaste;
    std::unique_ptr<GameModeHotkeyCenter> m_hotkeyCenter;
    std::unique_ptr<AppDelegate> m_delegate;
    std::unique_ptr<IslandEditController> m_islandEditor;
    std::unique_ptr<SettingsWindowController> m_settingsWindow;
    // Lets the keyring be asked should the island never draw.
    static constexpr int SecretsReleaseMs = 2000;
    TaskHandle m_secretsRelease;
    // What the panels, games and settings pages used goes back to the
    // system once the island has rested collapsed (and the settings window
    // closed) this long.
    static constexpr int GiveBackMs = 5000;
    TaskHandle m_giveBack;
};
