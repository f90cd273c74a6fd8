// The work the games panel adds to one frame: building the panel with the
// arcade (the island's state change), and switching to a game page, whose
// screen is then built off the frame. Either must fit well inside two 60 Hz
// frames (33 ms); a benchmark whose worst run is longer says so in its label.
#include "app/accentsetting.h"
#include "app/islandservices.h"
#include "benchfakes.h"
#include "benchmain.h"
#include "gamespanelinputs.h"
#include "look/animationclock.h"
#include "style/accent.h"
#include "island/notchviewmodel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QtQml/qqmlextensionplugin.h>
#include <benchmark/benchmark.h>

Q_IMPORT_QML_PLUGIN(PavletPlugin)
Q_IMPORT_QML_PLUGIN(Pavlet_StylePlugin)

namespace {
constexpr double frameBudgetMs = 2 * 1000.0 / 60.0;

struct Bench : BenchFakes {
    std::unique_ptr<IslandServices> services;
    std::unique_ptr<NotchViewModel> model;
    QQmlEngine engine;
    std::unique_ptr<QQmlComponent> component;

    Bench()
    {
        services = std::make_unique<IslandServices>(fakes.environment());
        model = std::make_unique<NotchViewModel>(fakes.environment(), services->parts());
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        showAccentSetting(&fakes.settings, Accent::forEngine(&engine));
        AnimationClock::setSource(&engine, &clock, &scheduler);
        component = std::make_unique<QQmlComponent>(
            &engine, QUrl(QStringLiteral("qrc:/qt/qml/Pavlet/src/games/GamesPanel.qml")));
    }
    std::unique_ptr<QObject> panel()
    {
        QVariantMap inputs = gamesPanelInputs(*model);
        inputs.insert({{"width", 428}, {"height", 396}});
        std::unique_ptr<QObject> made(component->createWithInitialProperties(inputs));
        wireGamesPanel(made.get(), *model);
        return made;
    }
};

void check(benchmark::State &state, double worstMs)
{
    state.counters["worst_ms"] = worstMs;
    if (worstMs > frameBudgetMs)
        state.SetLabel("LONGER THAN TWO FRAMES");
}
} // namespace

static void BM_OpenArcade(benchmark::State &state)
{
    Bench bench;
    bench.model->openGame(Island::PavletGame::hub);
    double worst = 0;
    bool first = true;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        auto panel = bench.panel();
        const double ms = timer.nsecsElapsed() / 1e6;
        if (first)
            state.counters["first_ms"] = ms;
        first = false;
        worst = std::max(worst, ms);
        state.PauseTiming();
        panel.reset();
        state.ResumeTiming();
    }
    check(state, worst);
}
BENCHMARK(BM_OpenArcade)->Unit(benchmark::kMillisecond);

static void BM_SwitchToAGame(benchmark::State &state)
{
    Bench bench;
    bench.model->openGame(Island::PavletGame::hub);
    auto panel = bench.panel();
    const Island::PavletGame games[] = {Island::PavletGame::toe, Island::PavletGame::stack4,
                                        Island::PavletGame::wordle, Island::PavletGame::blackjack,
                                        Island::PavletGame::pattern};
    double worst = 0;
    int n = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        bench.model->openGame(games[n++ % std::size(games)]);
        worst = std::max(worst, timer.nsecsElapsed() / 1e6);
        state.PauseTiming();
        // The page is built off the frame; let it finish before the next switch.
        for (int i = 0; i < 50; ++i)
            QCoreApplication::processEvents();
        bench.model->openGame(Island::PavletGame::hub);
        state.ResumeTiming();
    }
    check(state, worst);
}
BENCHMARK(BM_SwitchToAGame)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runBenchmarks<QApplication>(argc, argv, true);
}
