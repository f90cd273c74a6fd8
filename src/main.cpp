#include "appdelegate.h"
#include "appnotifications.h"
#include "appsettings.h"
#include "autostartloginitem.h"
#include "canvascredentials.h"
#include "clock.h"
#include "displaycheck.h"
#include "ewmhworkspace.h"
#include "gamemodehotkeycenter.h"
#include "islandpalette.h"
#include "keychainsecretstore.h"
#include "linuxpermissionbackend.h"
#include "permissions.h"
#include "qtscreenprovider.h"
#include "scheduler.h"
#include "singleinstance.h"
#include "unixsignals.h"
#include "userdefaults.h"
#include "x11globalhotkey.h"
#include "x11islandwindowhints.h"
#include "xinputclickmonitor.h"

#include <QApplication>
#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>
#include <unistd.h>

Q_IMPORT_QML_PLUGIN(PavletPlugin)

int main(int argc, char **argv)
{
    // Without a display Qt would abort with a core dump; say why instead.
    const QString noDisplay = missingDisplayReason();
    if (!noDisplay.isEmpty()) {
        std::fprintf(stderr, "pavlet needs a graphical desktop session: %s\n", qPrintable(noDisplay));
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Pavlet"));
    QApplication::setApplicationName(QStringLiteral("Pavlet"));
    QApplication::setApplicationVersion(QStringLiteral(PAVLET_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("pavlet"));
    // An accessory: closing a window never ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    // One running program per user: a second launch opens the settings of
    // the first and leaves.
    SingleInstance instance(QStringLiteral("pavlet-%1").arg(getuid()));
    if (!instance.claim())
        return 0;
    UnixSignalQuitter quitter;

    // The Linux platform.
    KeychainSecretStore secrets;
    AutostartLoginItem loginItem;
    LinuxPermissionBackend permissionBackend;
    QtScreenProvider screens;
    QtPointerLocation pointer;
    XInputClickMonitor clicks;
    X11GlobalHotkey hotkey;
    X11IslandWindowHints hints;
    EwmhWorkspace workspace;
    SystemClock clock;
    QtScheduler scheduler;
    Scheduler::setMain(&scheduler);

    UserDefaults *defaults = UserDefaults::standard();
    CanvasCredentialStore credentials(&secrets, defaults);
    CanvasCredentialStore::setShared(&credentials);

    PermissionCenter permissions(&permissionBackend, defaults);
    AppSettings settings(defaults, &loginItem, &permissions);
    GameModeHotkeyCenter hotkeyCenter(&hotkey);

    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    IslandPalette::setDefaults(&engine, defaults);

    AppDelegate::Parts parts;
    parts.defaults = defaults;
    parts.settings = &settings;
    parts.permissions = &permissions;
    parts.notifications = AppNotifications::instance();
    parts.workspace = &workspace;
    parts.window.screens = &screens;
    parts.window.pointer = &pointer;
    parts.window.clicks = &clicks;
    parts.window.hotkey = &hotkeyCenter;
    parts.window.hints = &hints;
    parts.window.clock = &clock;
    parts.window.scheduler = &scheduler;
    parts.window.engine = &engine;
    AppDelegate delegate(parts);
    QObject::connect(&delegate, &AppDelegate::quitRequested, &app, &QCoreApplication::quit);
    QObject::connect(&instance, &SingleInstance::openSettingsRequested, &delegate, &AppDelegate::openSettings);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate, &AppDelegate::shutdown);
    delegate.start();
    // For start-up timing (bench/island-idle.sh): leave once the island is on screen.
    if (qEnvironmentVariableIsSet("PAVLET_QUIT_ON_FIRST_FRAME"))
        QObject::connect(delegate.notch()->panel(), &QQuickWindow::frameSwapped, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);

    const int code = app.exec();
    delegate.shutdown();
    CanvasCredentialStore::setShared(nullptr);
    Scheduler::setMain(nullptr);
    return code;
}
