#pragma once

#include "core/userdefaults.h"
#include "fakes/fakeclock.h"
#include "fakes/islandfakes.h"

#include <QTemporaryDir>

// The island's fake platform over a fresh defaults file and a fake clock, for
// benchmarks of its model and views.
struct BenchFakes {
    QTemporaryDir dir;
    UserDefaults defaults{dir.filePath(QStringLiteral("defaults.json"))};
    FakeClock clock;
    FakeScheduler scheduler{clock};
    IslandFakes fakes{&defaults, clock, &scheduler};
};
