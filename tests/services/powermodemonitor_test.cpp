#include "fakes/fakelowpowermode.h"
#include "services/powermodemonitor.h"
#include "support/pavlettest.h"

namespace {

TEST(PowerModeMonitorTest, ReportsChangesWhileStarted)
{
    FakeLowPowerMode source;
    PowerModeMonitor monitor(&source);
    QList<bool> changes;
    QObject::connect(&monitor, &PowerModeMonitor::lowPowerModeChanged, [&](bool on) { changes << on; });

    source.set(true); // not started yet
    monitor.start();
    monitor.start();
    source.set(false);
    source.set(true);
    EXPECT_TRUE(monitor.isLowPowerModeEnabled());
    monitor.stop();
    source.set(false);
    EXPECT_EQ(changes, (QList<bool>{false, true}));
}

} // namespace
