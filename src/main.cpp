#include "compositionroot.h"
#include "unixsignals.h"

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

    CompositionRoot root;
    root.start();
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&root] { root.stop(); });
    return app.exec();
}
