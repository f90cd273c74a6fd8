// Times what the settings window costs: building it with all its pages (done
// ahead, after start-up) and switching pages once it is built, which must fit
// in one frame (16 ms at 60 Hz).
#include "app/accentsetting.h"
#include "benchfakes.h"
#include "benchmain.h"
#include "style/accent.h"
#include "settings/settingsnavigation.h"
#include "settings/settingswindowcontroller.h"

#include <QApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <benchmark/benchmark.h>

Q_IMPORT_QML_PLUGIN(PavletPlugin)
Q_IMPORT_QML_PLUGIN(Pavlet_StylePlugin)

namespace {
struct Bench : BenchFakes {
    QQmlEngine engine;

    Bench()
    {
        defaults.setBool(QStringLiteral("permissionsSetupCompleted"), true);
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        showAccentSetting(&fakes.settings, Accent::forEngine(&engine));
    }

    std::unique_ptr<SettingsWindowController> controller()
    {
        SettingsWindowController::Parts parts;
        parts.settings = &fakes.settings;
        parts.updater = &fakes.updater;
        parts.permissions = &fakes.permissions;
        parts.credentials = &fakes.credentials;
        parts.defaults = &defaults;
        parts.notifications = &fakes.notifications;
        parts.launcher = &fakes.launcher;
        parts.scheduler = &scheduler;
        parts.clock = &clock;
        parts.random = &fakes.random;
        parts.engine = &engine;
        return std::make_unique<SettingsWindowController>(parts);
    }
};
} // namespace

static void BM_BuildSettingsWindow(benchmark::State &state)
{
    Bench bench;
    for (auto _ : state) {
        auto c = bench.controller();
        c->prepare();
        if (!c->root())
            state.SkipWithError("the settings window did not build");
    }
}
BENCHMARK(BM_BuildSettingsWindow)->Unit(benchmark::kMillisecond);

static void BM_SwitchSettingsPage(benchmark::State &state)
{
    Bench bench;
    auto c = bench.controller();
    c->show();
    int n = 0;
    for (auto _ : state) {
        c->navigation()->select(n++ % SettingsNavigation::all().size());
        c->window()->grabWindow(); // polish, layout and render one frame
    }
}
BENCHMARK(BM_SwitchSettingsPage)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runBenchmarks<QApplication>(argc, argv, true);
}
