#include "app/rendererchoice.h"
#include "support/qmlwarnings.h"

#include <QApplication>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(PavletPlugin)
Q_IMPORT_QML_PLUGIN(Pavlet_StylePlugin)

// The journeys run the program as it runs for a user: on the X server the
// session script starts (with a window manager), with the program's own
// names and folders.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "xcb");
    // Every start gets fresh folders; the GL driver's cache would follow
    // them into folders that are gone.
    qputenv("MESA_SHADER_CACHE_DISABLE", "true");
    QmlWarnings::install();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Pavlet"));
    QApplication::setApplicationName(QStringLiteral("Pavlet"));
    QApplication::setDesktopFileName(QStringLiteral("pavlet"));
    QApplication::setQuitOnLastWindowClosed(false);
    // The renderer the program itself would choose here.
    RendererChoice::apply();
    return RUN_ALL_TESTS();
}
