// Times one refresh pass of the island's model over fake readings: once with
// nothing changed (it must announce nothing) and once with every reading
// changed.
#include "app/islandservices.h"
#include "benchfakes.h"
#include "benchmain.h"
#include "island/notchviewmodel.h"
#include "support/signaltally.h"

#include <QApplication>
#include <QtQml/qqmlextensionplugin.h>
#include <benchmark/benchmark.h>

Q_IMPORT_QML_PLUGIN(PavletPlugin)
Q_IMPORT_QML_PLUGIN(Pavlet_StylePlugin)

namespace {
struct Bench : BenchFakes {
    std::unique_ptr<IslandServices> services;
    std::unique_ptr<NotchViewModel> model;

    Bench()
    {
        fakes.permissionBackend.calendar = platform::IPermissionBackend::CalendarAccess::FullAccess;
        fakes.permissionBackend.reminders = platform::IPermissionBackend::CalendarAccess::FullAccess;
        fakes.load.ticks = platform::CpuTicks{100, 50, 800, 0};
        fakes.load.mem = platform::MemoryUse{4, 4};
        fakes.load.disk = 1000000000;
        fakes.load.uptime = 3600;
        fakes.interfaces.addIPv4(QStringLiteral("eth0"), QStringLiteral("192.168.1.5"));
        fakes.bluetooth.add(QStringLiteral("AA"), QStringLiteral("Buds"), true, true);
        fakes.clipboard.copy(QStringLiteral("hello"));
        services = std::make_unique<IslandServices>(fakes.environment());
        model = std::make_unique<NotchViewModel>(fakes.environment(), services->parts());
        vary(0);
        model->tick();
    }

    // Readings of one of two kinds; every kind differs from the other.
    void vary(int n)
    {
        const bool odd = n % 2;
        platform::CalendarEvent event;
        event.title = odd ? QStringLiteral("Review") : QStringLiteral("Standup");
        event.start = clock.now().addSecs(odd ? 7200 : 3600);
        event.end = event.start.addSecs(1800);
        fakes.calendar.eventList = {event};
        fakes.power.list = {{QStringLiteral("BAT0"), QStringLiteral("Battery"), QStringLiteral("System"),
                             odd ? 50 : 60, odd ? QStringLiteral("Charging") : QStringLiteral("Discharging")}};
        fakes.load.ticks->user += odd ? 10 : 90;
        fakes.load.ticks->idle += 100;
        fakes.load.mem = platform::MemoryUse{quint64(odd ? 3 : 5), 4};
        fakes.load.disk = odd ? 2000000000 : 1000000000;
        fakes.load.uptime = odd ? 7200 : 3600;
        fakes.wifi.name = odd ? QStringLiteral("Home") : QStringLiteral("Office");
        fakes.clipboard.copy(odd ? QStringLiteral("one") : QStringLiteral("two"));
        fakes.bluetooth.devices[0].connected = odd;
        fakes.lowPower.enabled = odd;
        fakes.players.set(FakeMediaPlayers::player(QStringLiteral("vlc"),
                                                   odd ? QStringLiteral("One") : QStringLiteral("Two"),
                                                   odd ? QStringLiteral("Playing") : QStringLiteral("Paused")));
    }
};
} // namespace

static void BM_TickUnchanged(benchmark::State &state)
{
    Bench bench;
    bench.fakes.load.ticks = std::nullopt; // the processor load stays at 0
    bench.model->tick();
    bench.model->tick();
    SignalTally changes;
    changes.watch(bench.model.get(), QStringLiteral("model"));
    for (auto _ : state)
        bench.model->tick();
    if (!changes.counts().empty())
        state.SkipWithError("an unchanged tick announced a change");
}
BENCHMARK(BM_TickUnchanged)->Unit(benchmark::kMicrosecond);

static void BM_TickAllChanged(benchmark::State &state)
{
    Bench bench;
    int n = 1;
    for (auto _ : state) {
        state.PauseTiming();
        bench.vary(n++);
        state.ResumeTiming();
        bench.model->tick();
    }
}
BENCHMARK(BM_TickAllChanged)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return runBenchmarks<QApplication>(argc, argv, true);
}
