// Times one full refresh of the battery, network and system readings on this
// machine, and the expansion of a year of a daily recurring event.
#include "benchmain.h"
#include "platform/linux/icscalendarsource.h"
#include "platform/linux/linuxnetwork.h"
#include "platform/linux/procsystemload.h"
#include "platform/linux/sysfspowersupply.h"
#include "services/batterymonitor.h"
#include "services/networkstatus.h"
#include "services/systemmonitor.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtQml/qqmlextensionplugin.h>
#include <benchmark/benchmark.h>

Q_IMPORT_QML_PLUGIN(PavletPlugin)
Q_IMPORT_QML_PLUGIN(Pavlet_StylePlugin)

static void BM_ReadingsRefresh(benchmark::State &state)
{
    platform::SysfsPowerSupply supply;
    platform::ProcSystemLoad load;
    platform::IfaddrsNetworkInterfaces interfaces;
    platform::NetworkManagerWifi wifi;
    platform::QtReachability reachability;
    BatteryMonitor battery(&supply);
    SystemMonitor system(&load);
    NetworkStatus network(&interfaces, &wifi, &reachability);
    // The first reading loads the network information backend.
    network.snapshot();
    for (auto _ : state) {
        benchmark::DoNotOptimize(battery.read());
        benchmark::DoNotOptimize(system.snapshot());
        benchmark::DoNotOptimize(network.snapshot());
    }
}
BENCHMARK(BM_ReadingsRefresh)->Unit(benchmark::kMicrosecond);

static void BM_ExpandDailyEventForAYear(benchmark::State &state)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("daily.ics"));
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the calendar file");
        return;
    }
    file.write("BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VTIMEZONE\nTZID:Europe/Paris\nBEGIN:STANDARD\n"
               "TZOFFSETFROM:+0200\nTZOFFSETTO:+0100\nDTSTART:19701025T030000\n"
               "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\nEND:STANDARD\nBEGIN:DAYLIGHT\nTZOFFSETFROM:+0100\n"
               "TZOFFSETTO:+0200\nDTSTART:19700329T020000\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\nEND:DAYLIGHT\n"
               "END:VTIMEZONE\nBEGIN:VEVENT\nUID:daily\nSUMMARY:Daily\n"
               "DTSTART;TZID=Europe/Paris:20250101T090000\nDTEND;TZID=Europe/Paris:20250101T091500\n"
               "RRULE:FREQ=DAILY\nEND:VEVENT\nEND:VCALENDAR\n");
    file.close();
    platform::IcsCalendarSource source({dir.path()}, dir.path());
    const QDateTime from(QDate(2026, 1, 1), QTime(0, 0), QTimeZone::utc());
    const QDateTime to = from.addYears(1);
    source.events(from, to); // parsed once, kept
    for (auto _ : state) {
        const auto events = source.events(from, to);
        if (events.size() != 365)
            state.SkipWithError("wrong number of occurrences");
        benchmark::DoNotOptimize(events);
    }
}
BENCHMARK(BM_ExpandDailyEventForAYear)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runBenchmarks<QApplication>(argc, argv, false);
}
