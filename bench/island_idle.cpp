// The collapsed island at rest, for measuring its idle cost against the
// reference window (../shared/perf/idle-cost 30 build/bench/island_idle smile).
// Modes: "smile" (the blinking smile), "clock" (a running timer's clock and
// glow), "none" (the bare outline). Shows the island's own views over a model
// that never changes, with the same 60 Hz pointer poll and 1 s tick as the
// reference.
// Mode "open" instead opens the hover island from the collapsed one twenty
// times and prints how long each state change took to reach the screen: the
// time from the change to the end of the next frame, against one frame
// interval of the screen's refresh rate.
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(PavletPlugin)
Q_IMPORT_QML_PLUGIN(Pavlet_StylePlugin)

namespace {
const char *scene = R"(
import QtQuick
import Pavlet
Item {
    id: scene
    property string mode
    property int islandState: 0
    width: 296
    height: 72
    NotchView {
        anchors.fill: parent
        settings: QtObject {
            property real lipCornerRadius: 10
            property bool showAmbientSmile: scene.mode === "smile"
            property bool showClockWhenIdle: false
            property string disabledModules: ""
            property bool playerShowVisualizer: true
            function isModuleEnabled(id) { return true }
            function formatTime(date, weekday) { return "" }
        }
        model: QtObject {
            property int state: scene.islandState
            property bool usesFloatingIsland: false
            property real notchHeight: 32
            property var ambient: null
            property var hud: null
            property var liveActivity: ({ kind: 4 })
            property var nowPlaying: ({ title: "", isPlaying: false, source: 0, hasArtwork: false })
            property bool isEditingIsland: false
            property bool fileDropTargeted: false
            property bool gameModeOn: false
            property bool gameModeHover: false
            property bool gameModeToast: false
            property bool isPreviewingPlayer: false
            property bool isPreviewingTimer: false
            property bool isPreviewingAmbient: false
            property int showsAmbientOrCamera: 0
            property QtObject timer: QtObject { property bool isRunning: scene.mode === "clock" }
        }
    }
}
)";
} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("smile");
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    QQmlComponent component(&engine);
    component.setData(scene, QUrl(QStringLiteral("qrc:/island_idle.qml")));
    QObject *root = component.createWithInitialProperties({{QStringLiteral("mode"), mode}});
    auto *item = qobject_cast<QQuickItem *>(root);
    if (!item) {
        std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
        return 1;
    }
    QQuickWindow window;
    window.setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool | Qt::WindowDoesNotAcceptFocus);
    window.setColor(Qt::transparent);
    window.resize(int(item->width()), int(item->height()));
    window.setPosition((window.screen()->geometry().width() - window.width()) / 2, 0);
    item->setParentItem(window.contentItem());
    window.show();

    QPoint last;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    QObject::connect(&poll, &QTimer::timeout, [&] { last = QCursor::pos(); });
    poll.start(1000 / 60);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [] {});
    tick.start(1000);
    std::puts("ready");
    std::fflush(stdout);

    if (mode == u"open") {
        // Wait for the first frames, then open and close by turns.
        auto *times = new QList<double>;
        auto *clock = new QElapsedTimer;
        auto *waiting = new bool(false);
        QObject::connect(&window, &QQuickWindow::frameSwapped, &app, [=] {
            if (*waiting) {
                times->append(clock->nsecsElapsed() / 1e6);
                *waiting = false;
            }
        });
        auto *step = new QTimer(&app);
        QObject::connect(step, &QTimer::timeout, &app, [=, &app, &window] {
            if (times->size() >= 20) {
                QList<double> sorted = *times;
                std::sort(sorted.begin(), sorted.end());
                const double frame = 1000.0 / window.screen()->refreshRate();
                std::printf("open: median %.2f ms, worst %.2f ms, frame interval %.2f ms\n",
                            sorted.at(sorted.size() / 2), sorted.last(), frame);
                app.quit();
                return;
            }
            const bool open = item->property("islandState").toInt() == 0;
            if (open) {
                *waiting = true;
                clock->start();
            }
            item->setProperty("islandState", open ? 1 : 0);
        });
        step->start(400);
    }
    return app.exec();
}
