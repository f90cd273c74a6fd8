#include "filewindow.h"

#include "app/rendererchoice.h"
#include "support/qmlwarnings.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

Q_IMPORT_QML_PLUGIN(PavletPlugin)
Q_IMPORT_QML_PLUGIN(Pavlet_StylePlugin)

// The journeys run the program as it runs for a user: on the X server the
// session script starts (with a window manager), with the program's own
// names and folders.
int OtherProgramWindow::run(int argc, char **argv)
{
    QApplication app(argc, argv);
    struct Window : FileWindow {
        void dropEvent(QDropEvent *e) override
        {
            FileWindow::dropEvent(e);
            for (const QUrl &url : std::as_const(received))
                std::printf("dropped %s\n", url.toEncoded().constData());
            std::fflush(stdout);
        }
    } window;
    window.move(std::atoi(argv[2]), std::atoi(argv[3]));
    window.show();
    // Where the window's middle is, once it is on the screen.
    QTimer shown;
    QObject::connect(&shown, &QTimer::timeout, [&] {
        if (!window.windowHandle() || !window.windowHandle()->isExposed())
            return;
        shown.stop();
        std::printf("middle %d %d\n", window.middle().x(), window.middle().y());
        std::fflush(stdout);
    });
    shown.start(20);
    return app.exec();
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    if (argc == 4 && std::string_view(argv[1]) == "--drop-target")
        return OtherProgramWindow::run(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
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
