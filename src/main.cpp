#include "appsettings.h"
#include "autostartloginitem.h"
#include "canvascredentials.h"
#include "keychainsecretstore.h"
#include "linuxpermissionbackend.h"
#include "permissions.h"
#include "unixsignals.h"
#include "userdefaults.h"

#include <QApplication>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(PavletPlugin)

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Pavlet"));
    QApplication::setApplicationName(QStringLiteral("Pavlet"));
    QApplication::setApplicationVersion(QStringLiteral(PAVLET_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("pavlet"));
    // An accessory: closing a window never ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    UnixSignalQuitter quitter;

    // The Linux platform.
    KeychainSecretStore secrets;
    AutostartLoginItem loginItem;
    LinuxPermissionBackend permissionBackend;

    UserDefaults *defaults = UserDefaults::standard();
    CanvasCredentialStore credentials(&secrets, defaults);
    CanvasCredentialStore::setShared(&credentials);

    PermissionCenter permissions(&permissionBackend, defaults);
    AppSettings settings(defaults, &loginItem, &permissions);
    permissions.startMonitoring();
    settings.migratePermissionWants();

    const int code = app.exec();
    CanvasCredentialStore::setShared(nullptr);
    return code;
}
