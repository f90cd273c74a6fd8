#include "support/qmlwarnings.h"

#include <QApplication>
#include <QStandardPaths>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(PavletPlugin)

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QmlWarnings::install();
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Pavlet");
    QApplication::setApplicationName("Pavlet");
    return RUN_ALL_TESTS();
}
