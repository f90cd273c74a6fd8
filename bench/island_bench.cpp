// One step of the island frame's springs plus putting the frame on the
// window (shape and content position), the work of every animation frame.
// It must stay far below a 120 Hz frame (8.3 ms); the target is 1 ms.
#include "benchmain.h"
#include "island/islandmetrics.h"
#include "notch/notchpanel.h"
#include "notch/panelanimator.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

void BM_SpringStepAndApply(benchmark::State &state)
{
    NotchPanel panel(nullptr);
    panel.setPrimaryHeight(982);
    panel.setOutline(20, false);
    // From the plain lip (the least drop) to the tallest Home.
    const QSizeF lip = IslandMetrics::plainNotch + QSizeF(0, IslandMetrics::minDrop);
    const QRectF from(QPointF(756 - lip.width() / 2, 982 - lip.height()), lip), to(542, 362, 428, 620);
    panel.applyFrame(from, false);
    PanelAnimator springs;
    springs.jump(from);
    double now = 1.0;
    for (auto _ : state) {
        if (!springs.isRunning()) {
            springs.jump(from);
            springs.animateTo(to, from);
            panel.prepareAnimation(from, to);
        }
        now += 1.0 / 120;
        const auto step = springs.step(now, IslandMetrics::plainNotch);
        panel.applyFrame(step.frame, !step.settled);
        if (step.settled)
            springs.stop();
        benchmark::DoNotOptimize(panel.islandRect());
    }
}
BENCHMARK(BM_SpringStepAndApply);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QGuiApplication>(argc, argv, false);
}
