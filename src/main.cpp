#include <QApplication>
#include <QtQml/qqmlextensionplugin.h>
Q_IMPORT_QML_PLUGIN(PavletPlugin)
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return 0;
}
