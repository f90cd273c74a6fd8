#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <benchmark/benchmark.h>

// Runs the registered benchmarks inside a Qt application of type App. Views
// are drawn offscreen: always when forceOffscreen, else unless the caller
// chose a platform.
template <typename App>
int runBenchmarks(int argc, char **argv, bool forceOffscreen)
{
    if (forceOffscreen || qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
