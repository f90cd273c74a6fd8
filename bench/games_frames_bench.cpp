// Each real-time game played by a small robot for a while (10 s by default)
// in the games panel, on real time, in a window drawn by the renderer the
// environment picks (run it with QT_QUICK_BACKEND=software under an X server
// for the software renderer). For every game it reports the frames drawn,
// the longest time between two frames, the frames that came later than two
// intervals of the game's rate after the previous one, and the process's CPU
// use. Games that only change on a step (Snake) or a moment (Reflex) are
// measured against their own pace.
//
// usage: games_frames_bench [seconds] [game ...]   (games: blocks cps dino
// flap pong stack snake reflex)
#include "app/accentsetting.h"
#include "app/islandservices.h"
#include "core/clock.h"
#include "core/gridanimationdriver.h"
#include "core/scheduler.h"
#include "core/userdefaults.h"
#include "fakes/fakeclock.h"
#include "fakes/islandfakes.h"
#include "games/action/blocksengine.h"
#include "gamespanelinputs.h"
#include "games/action/cpsengine.h"
#include "games/action/dinoengine.h"
#include "games/action/flapengine.h"
#include "games/action/pongengine.h"
#include "games/action/reflexengine.h"
#include "games/action/snakeengine.h"
#include "games/action/stackengine.h"
#include "look/animationclock.h"
#include "island/islandmetrics.h"
#include "style/accent.h"
#include "island/notchviewmodel.h"
#include "notch/notchgeometry.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

Q_IMPORT_QML_PLUGIN(PavletPlugin)
Q_IMPORT_QML_PLUGIN(Pavlet_StylePlugin)

namespace {
using Island::PavletGame;

// Notes the time of each visible change of an engine.
class Recorder : public QObject {
    Q_OBJECT
public:
    explicit Recorder(std::function<void()> note) : m_note(std::move(note)) {}
public slots:
    void record() { m_note(); }

private:
    std::function<void()> m_note;
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Game {
    const char *name;
    PavletGame page;
    double hz;                     // the rate of its frame timer
    std::function<void()> start;
    std::function<void()> play;    // the robot's move
    QObject *engine;
    const char *change;            // the engine's signal of a change
    // Whether every such change alters the picture. Blocks (a turn of the
    // square piece) and the clicking test (the countdown shows tenths, the
    // timer runs at 30 Hz) have changes that draw nothing, which then wait
    // for the next one that does.
    bool everyChangeShows = true;
};
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments().mid(1);
    int seconds = 10;
    QStringList only;
    for (const QString &a : args) {
        bool number = false;
        const int n = a.toInt(&number);
        if (number)
            seconds = n;
        else
            only << a;
    }

    QTemporaryDir dir;
    UserDefaults defaults(dir.filePath(QStringLiteral("defaults.json")));
    FakeClock fakeClock;
    SystemClock clock;
    QtScheduler scheduler;
    GridAnimationDriver animations(&scheduler);
    animations.install();
    animations.paceFrames();
    IslandFakes fakes(&defaults, fakeClock, &scheduler);
    IslandEnvironment env = fakes.environment();
    env.clock = &clock;
    env.scheduler = &scheduler;
    IslandServices services(env);
    NotchViewModel model(env, services.parts());

    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    showAccentSetting(&fakes.settings, Accent::forEngine(&engine));
    AnimationClock::setSource(&engine, &clock, &scheduler);

    QQuickWindow window;
    window.setColor(Qt::black);
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/qt/qml/Pavlet/src/games/GamesPanel.qml")));
    std::unique_ptr<QObject> panelObject(component.createWithInitialProperties(gamesPanelInputs(model)));
    wireGamesPanel(panelObject.get(), model);
    auto *panel = qobject_cast<QQuickItem *>(panelObject.get());
    if (!panel) {
        std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
        return 1;
    }
    panel->setParentItem(window.contentItem());
    window.show();

    std::mt19937 rng(5);
    int moves = 0;

    const Game games[] = {
        {"blocks", PavletGame::blocks, 60, [&] { model.game<BlocksEngine>()->begin(); },
         [&] {
             BlocksEngine *b = model.game<BlocksEngine>();
             if (b->phase() == BlocksEngine::Phase::over)
                 b->tap();
             if (++moves % 12 == 0)
                 b->move(int(rng() % 3) - 1);
             if (moves % 40 == 0)
                 b->rotate();
             if (moves % 90 == 0)
                 b->hardDrop();
         },
         model.game<BlocksEngine>(), SIGNAL(activeChanged()), false},
        {"cps", PavletGame::cps, 30,
         [&] {
             model.game<CPSEngine>()->select(CPSDuration::thirty);
             model.game<CPSEngine>()->prepare();
         },
         [&] {
             if (++moves % 8 == 0)
                 model.game<CPSEngine>()->click();
         },
         model.game<CPSEngine>(), SIGNAL(remainingChanged()), false},
        {"dino", PavletGame::dino, 60, [&] { model.game<DinoEngine>()->press(); },
         [&] {
             DinoEngine *d = model.game<DinoEngine>();
             if (d->phase() == DinoEngine::Phase::dead) {
                 d->press();
                 return;
             }
             for (const DinoObstacle &o : d->obstacles()) {
                 const double ahead = o.x - (DinoEngine::RunnerX + DinoEngine::RunnerWidth);
                 if (!o.flying && ahead > 0 && ahead < d->speed() * 0.16)
                     d->jump();
             }
         },
         model.game<DinoEngine>(), SIGNAL(groundOffsetChanged())},
        {"flap", PavletGame::flap, 60, [&] { model.game<FlapEngine>()->flap(); },
         [&] {
             FlapEngine *f = model.game<FlapEngine>();
             double aim = f->fieldHeight() * 0.4;
             for (const FlapPipe &p : f->pipes()) {
                 if (p.x + FlapEngine::PipeWidth > FlapEngine::BirdX) {
                     aim = p.gapY + 30;
                     break;
                 }
             }
             if (f->phase() == FlapEngine::Phase::dead || (f->birdY() < aim && f->birdVy() < 0))
                 f->flap();
         },
         model.game<FlapEngine>(), SIGNAL(birdChanged())},
        {"pong", PavletGame::pong, 60, [&] { model.game<PongEngine>()->start(PongDifficulty::medium); },
         [&] {
             PongEngine *p = model.game<PongEngine>();
             if (p->phase() == PongEngine::Phase::over)
                 p->playAgain();
             const double h = p->field().height();
             p->movePlayer(p->ballY() * h, h);
         },
         model.game<PongEngine>(), SIGNAL(frameChanged())},
        {"stack", PavletGame::stack, 60, [&] { model.game<StackEngine>()->start(); },
         [&] {
             StackEngine *s = model.game<StackEngine>();
             if (s->phase() == StackEngine::Phase::over) {
                 s->tap();
                 return;
             }
             if (!s->slabs().empty() && std::abs(s->movingX() - s->slabs().back().x) < 0.01)
                 s->tap();
         },
         model.game<StackEngine>(), SIGNAL(movingChanged())},
        {"snake", PavletGame::snake, 0, [&] { model.game<SnakeEngine>()->start(); },
         [&] {
             SnakeEngine *s = model.game<SnakeEngine>();
             if (s->phase() == SnakeEngine::Phase::over) {
                 s->start();
                 return;
             }
             // Round the board's edge clockwise.
             const SnakePoint head = s->snake().front();
             if (head.x == SnakeEngine::Columns - 1 && head.y < SnakeEngine::Rows - 1)
                 s->turn(SnakeDir::down);
             else if (head.y == SnakeEngine::Rows - 1 && head.x > 0)
                 s->turn(SnakeDir::left);
             else if (head.x == 0 && head.y > 0)
                 s->turn(SnakeDir::up);
             else if (head.y == 0)
                 s->turn(SnakeDir::right);
         },
         model.game<SnakeEngine>(), SIGNAL(boardChanged())},
        {"reflex", PavletGame::reflex, 0, [&] { model.game<ReflexEngine>()->tap(); },
         [&] {
             ReflexEngine *r = model.game<ReflexEngine>();
             ++moves;
             if (r->phase() == ReflexEngine::Phase::go && r->pulse() >= 1)
                 r->tap();
             else if (r->phase() != ReflexEngine::Phase::go && r->phase() != ReflexEngine::Phase::waiting
                      && moves % 30 == 0)
                 r->tap();
         },
         model.game<ReflexEngine>(), SIGNAL(pulseChanged())},
    };

    // changes: the engine's visible changes; frames: frames drawn; lag: the
    // longest wait from a change to the frame that shows it; late: changes
    // shown more than two timer intervals (two 60 Hz frames for games
    // without a frame timer) after they happened; gap: the longest time
    // between two frames while changes kept coming at the timer's rate. A
    // late change fails the run only in games where every change shows.
    std::printf("%-7s %8s %7s %7s %8s %5s %8s %7s\n", "game", "changes", "frames", "fps", "lag_ms", "late",
                "gap_ms", "cpu_%");
    int failures = 0;
    for (const Game &g : games) {
        if (!only.isEmpty() && !only.contains(QString::fromLatin1(g.name)))
            continue;
        model.openGame(g.page);
        const QSizeF page = IslandMetrics::gamePage(g.page);
        const QSize size(int(page.width()), int(page.height() + 36));
        window.resize(size);
        panel->setSize(size);
        spin(700);
        g.start();
        moves = 0;

        std::vector<qint64> frames;
        frames.reserve(size_t(seconds) * 130);
        QElapsedTimer clockNs;
        clockNs.start();
        auto connection = QObject::connect(&window, &QQuickWindow::frameSwapped, [&] {
            frames.push_back(clockNs.nsecsElapsed());
        });
        std::vector<qint64> changes;
        changes.reserve(size_t(seconds) * 130);
        Recorder recorder([&] { changes.push_back(clockNs.nsecsElapsed()); });
        QObject::connect(g.engine, g.change, &recorder, SLOT(record()));
        // The robot plays right after each step of a game with a frame timer,
        // so its moves are drawn with that step instead of in frames of
        // their own; the others it plays 60 times a second.
        bool acting = false, due = false;
        auto act = [&] {
            due = false;
            acting = true;
            g.play();
            acting = false;
        };
        Recorder stepped([&] {
            if (acting || due)
                return;
            due = true;
            QMetaObject::invokeMethod(&recorder, act, Qt::QueuedConnection);
        });
        TaskHandle robot;
        if (g.hz > 0 && g.everyChangeShows)
            QObject::connect(g.engine, g.change, &stepped, SLOT(record()));
        else
            robot = scheduler.everyAtRate(60, act);

        const double cpu0 = cpuSeconds();
        clockNs.restart();
        spin(seconds * 1000);
        const double wall = clockNs.nsecsElapsed() / 1e9;
        const double cpu = cpuSeconds() - cpu0;
        robot.cancel();
        QObject::disconnect(g.engine, nullptr, &stepped, nullptr);
        QObject::disconnect(connection);

        QObject::disconnect(g.engine, nullptr, &recorder, nullptr);

        const double budgetNs = 2e9 / (g.hz > 0 ? g.hz : 60);
        qint64 lag = 0, gap = 0;
        int late = 0;
        size_t f = 0;
        for (size_t i = 0; i < changes.size(); ++i) {
            while (f < frames.size() && frames[f] < changes[i])
                ++f;
            if (f == frames.size())
                break; // the run ended before this change was drawn
            const qint64 wait = frames[f] - changes[i];
            lag = std::max(lag, wait);
            late += wait > budgetNs;
            if (wait > budgetNs && qEnvironmentVariableIsSet("FRAMES_DEBUG"))
                std::printf("  late change at %.3f s: drawn %.1f ms later\n", changes[i] / 1e9, wait / 1e6);
        }
        // Gaps between frames where the changes kept coming at the timer's rate.
        for (size_t i = 1; g.hz > 0 && i < frames.size(); ++i) {
            const auto first = std::lower_bound(changes.begin(), changes.end(), frames[i - 1]);
            if (first != changes.end() && *first < frames[i] && frames[i] - frames[i - 1] > budgetNs / 2) {
                const auto next = std::upper_bound(changes.begin(), changes.end(), *first);
                if (next != changes.end() && *next - *first < budgetNs / 2)
                    gap = std::max(gap, frames[i] - frames[i - 1]);
            }
        }
        const double fps = frames.size() / wall;
        std::printf("%-7s %8zu %7zu %7.1f %8.1f %5d %8.1f %7.1f\n", g.name, changes.size(), frames.size(), fps,
                    lag / 1e6, late, gap / 1e6, 100.0 * cpu / wall);
        std::fflush(stdout);
        if (late > 0 && g.everyChangeShows)
            ++failures;
        model.openGame(PavletGame::hub);
        spin(300);
    }
    return failures ? 2 : 0;
}

#include "games_frames_bench.moc"
