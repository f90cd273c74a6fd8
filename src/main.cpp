#include "app/appdelegate.h"
#include "app/compositionroot.h"
#include "app/displayguard.h"
#include "app/frameprobe.h"
#include "app/rendererchoice.h"
#include "app/rendererprobe.h"
#include "app/singleinstance.h"
#include "app/unixsignalquitter.h"
#include "core/logging.h"

#include <QGuiApplication>
#include <QDir>
#include <QStandardPaths>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <time.h>
#include <unistd.h>

Q_IMPORT_QML_PLUGIN(PavletPlugin)
Q_IMPORT_QML_PLUGIN(Pavlet_StylePlugin)

namespace {

const char usage[] = "Usage: pavlet [--help | --version]\n"
                     "\n"
                     "Starts Pavlet, the island at the top centre of the screen, in a graphical\n"
                     "desktop session. When it runs already, opens its settings window instead.\n"
                     "\n"
                     "  --help     show this help and leave\n"
                     "  --version  show the version and leave\n";

// Qt's own options, which QGuiApplication takes off the command line (a
// session manager restarts a program with -session), and whether each takes
// a value.
bool qtOption(std::string_view option, bool *takesValue)
{
    if (option.starts_with("--"))
        option.remove_prefix(1);
    for (std::string_view name : {"-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry",
                                  "-qwindowicon", "-qwindowtitle", "-session", "-display", "-name", "-title",
                                  "-geometry", "-visual"}) {
        if (option == name) {
            *takesValue = true;
            return true;
        }
    }
    *takesValue = false;
    return option == "-reverse" || option == "-nograb" || option == "-dograb" || option == "-sync";
}

// --help and --version answer at once, with or without a display, and start
// nothing (status 0); anything else but Qt's own options gets the usage and
// status 2. Nothing when the program is to start.
std::optional<int> answeredCommandLine(int argc, char **argv)
{
    if (argc == 2) {
        const std::string_view option = argv[1];
        if (option == "--version") {
            std::printf("pavlet %s\n", PAVLET_VERSION);
            return 0;
        }
        if (option == "--help" || option == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
    }
    for (int i = 1; i < argc; ++i) {
        bool takesValue = false;
        const bool known = qtOption(argv[i], &takesValue) && (!takesValue || i + 1 < argc);
        if (!known) {
            std::fprintf(stderr, "pavlet: unknown option %s\n%s", argv[i], usage);
            return 2;
        }
        i += takesValue ? 1 : 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv)
{
    if (const std::optional<int> status = answeredCommandLine(argc, argv))
        return *status;
    // A quit asked for while the program starts waits for the event loop
    // instead of ending the program half made.
    UnixSignalQuitter::catchSignals();
    // The display may go away at any moment of the start, while it is
    // checked here or as Qt and the first window talk to it.
    DisplayGuard::watch("pavlet");
    // Without a display Qt would abort with a core dump; say why instead.
    const QString noDisplay = CompositionRoot::missingDisplayReason();
    if (!noDisplay.isEmpty()) {
        std::fprintf(stderr, "pavlet needs a graphical desktop session: %s\n", qPrintable(noDisplay));
        return 1;
    }
    // OpenGL's renderer is asked for by a program of our own while this one
    // starts (see RendererProbe).
    RendererProbe probe(RendererChoice::userNamedRenderer() ? QString() : RendererProbe::besideThisProgram());
    QGuiApplication app(argc, argv);
    DisplayGuard::connected();
    CompositionRoot::releaseDisplayCheck();
    QGuiApplication::setOrganizationName(QStringLiteral("Pavlet"));
    QGuiApplication::setApplicationName(QStringLiteral("Pavlet"));
    QGuiApplication::setApplicationVersion(QStringLiteral(PAVLET_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("pavlet"));
    // An accessory: closing a window never ends the program.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    // One running program per user: a second launch opens the settings of
    // the first and leaves; when the first does not answer (stopped, hung),
    // it says so and fails.
    // The socket lives in the user's runtime folder: one per user and
    // session, out of reach of other users (without one, the temporary folder).
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QString socketName = QStringLiteral("pavlet-%1").arg(getuid());
    SingleInstance instance(runtime.isEmpty() ? socketName : QDir(runtime).filePath(socketName));
    switch (instance.claim()) {
    case SingleInstance::Claim::thisRuns:
        break;
    case SingleInstance::Claim::otherAnswered:
        return 0;
    case SingleInstance::Claim::otherSilent:
        std::fputs("pavlet: Pavlet runs already but does not answer; nothing was opened\n", stderr);
        return 1;
    }
    UnixSignalQuitter quitter;

    CompositionRoot root;
    // Before the first window, which the root makes when it starts.
    RendererChoice::apply(probe.answer(3000));
    AppDelegate &delegate = root.delegate();
    // Not QCoreApplication::quit(), which first asks every window to close:
    // the island's windows refuse a close.
    QObject::connect(&delegate, &AppDelegate::quitRequested, &app, [] { QCoreApplication::exit(0); });
    QObject::connect(&instance, &SingleInstance::openSettingsRequested, &delegate, &AppDelegate::openSettings);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&root] { root.shutdown(); });
    root.start();
    // For start-up timing (bench/island-idle.sh): say when the island is on
    // screen (the wall clock in nanoseconds) and leave at once.
    if (qEnvironmentVariableIsSet("PAVLET_QUIT_ON_FIRST_FRAME"))
        QObject::connect(delegate.notch()->panel(), &QQuickWindow::frameSwapped, &app, [] {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::printf("first-frame %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(nullptr);
            std::_Exit(0);
        }, Qt::DirectConnection);
    // For the smoothness of openings (bench/island-frames.sh).
    if (const QString probe = qEnvironmentVariable("PAVLET_FRAME_PROBE"); !probe.isEmpty())
        new FrameProbe(&root.island(), delegate.notch()->panel(), probe, &app);
    QMetaObject::invokeMethod(&quitter, &UnixSignalQuitter::quitIfRequested, Qt::QueuedConnection);
    return app.exec();
}
