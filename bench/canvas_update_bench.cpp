// Times the Canvas board from two full replies (target: 2 ms), and the
// update image's SHA-256 against the system's sha256sum on the same 100 MB
// file (target: within 1.5 times).
#include "benchmain.h"
#include "canvas/canvasservice.h"
#include "update/updatechecksum.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtQml/qqmlextensionplugin.h>
#include <benchmark/benchmark.h>

Q_IMPORT_QML_PLUGIN(PavletPlugin)
Q_IMPORT_QML_PLUGIN(Pavlet_StylePlugin)

namespace {

QByteArray plannerReply(int count)
{
    QByteArray json = "[";
    for (int i = 0; i < count; ++i) {
        if (i)
            json += ',';
        json += QStringLiteral(
                    R"({"plannable_id":%1,"plannable_type":"%2","context_name":"Course %3","html_url":"/courses/%3/assignments/%1",)"
                    R"("submissions":{"submitted":false,"excused":false},"planner_override":null,)"
                    R"("plannable":{"title":"Assignment %1","due_at":"2026-01-%4T23:59:00Z","points_possible":%5}})")
                    .arg(1000 + i)
                    .arg(i % 3 == 0 ? "quiz" : "assignment")
                    .arg(i % 7)
                    .arg(4 + i % 14, 2, 10, QLatin1Char('0'))
                    .arg(i % 4 == 0 ? 2.5 : 10.0)
                    .toUtf8();
    }
    return json + "]";
}

QByteArray missingReply(int count)
{
    QByteArray json = "[";
    for (int i = 0; i < count; ++i) {
        if (i)
            json += ',';
        json += QStringLiteral(R"({"id":%1,"name":"Late %1","due_at":"2025-12-%2T12:00:00.000Z",)"
                               R"("html_url":"https://school.example/courses/1/assignments/%1","points_possible":5,)"
                               R"("course_code":"C-%2"})")
                    .arg(900 + i * 2)
                    .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                    .toUtf8();
    }
    return json + "]";
}

} // namespace

static void BM_CanvasBoardFromReplies(benchmark::State &state)
{
    const QByteArray planner = plannerReply(50);
    const QByteArray missing = missingReply(50);
    const QUrl base("https://school.example");
    const QTimeZone zone("America/New_York");
    const QDateTime now(QDate(2026, 1, 5), QTime(9, 0), QTimeZone::utc());
    for (auto _ : state) {
        const QList<MissingItem> missingItems = MissingItem::decodeList(missing).value();
        const QList<PlannerItem> plannerItems = PlannerItem::decodeList(planner).value();
        QList<CanvasAssignment> fromMissing;
        for (const MissingItem &item : missingItems)
            fromMissing.append(CanvasService::assignment(item, base));
        QList<CanvasAssignment> fromPlanner;
        for (const PlannerItem &item : plannerItems) {
            if (auto a = CanvasService::assignment(item, base, now))
                fromPlanner.append(*a);
        }
        const CanvasBoard board = CanvasBoard::build(CanvasService::merge(fromMissing, fromPlanner), now, zone);
        benchmark::DoNotOptimize(board);
    }
}
BENCHMARK(BM_CanvasBoardFromReplies)->Unit(benchmark::kMicrosecond);

// Both digests of the same file in one run; the counter "ratio" is ours over
// sha256sum's.
static void BM_Sha256Of100MB(benchmark::State &state)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("image.dmg"));
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the image");
        return;
    }
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (int i = 0; i < block.size(); ++i)
        block[i] = char(i * 131 % 251);
    for (int i = 0; i < 100; ++i)
        file.write(block);
    file.close();
    // Warm the page cache for both.
    sha256Hex(file.fileName());

    qint64 oursNs = 0;
    qint64 systemNs = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const auto ours = sha256Hex(file.fileName());
        oursNs += timer.nsecsElapsed();

        timer.restart();
        QProcess sum;
        sum.start(QStringLiteral("sha256sum"), {file.fileName()});
        sum.waitForFinished(-1);
        systemNs += timer.nsecsElapsed();
        if (!ours || !sum.readAllStandardOutput().startsWith(ours->toLatin1())) {
            state.SkipWithError("the digests differ");
            return;
        }
    }
    state.counters["ours_ms"] = double(oursNs) / 1e6 / double(state.iterations());
    state.counters["sha256sum_ms"] = double(systemNs) / 1e6 / double(state.iterations());
    state.counters["ratio"] = double(oursNs) / double(systemNs);
}
BENCHMARK(BM_Sha256Of100MB)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    return runBenchmarks<QApplication>(argc, argv, false);
}
