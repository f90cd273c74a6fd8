// Times the calculator's key press (exact arithmetic and the decimal text,
// target at most 5 µs each) and the pocket's ingest of a folder's worth of
// small files (reported per file).
#include "core/clock.h"
#include "core/userdefaults.h"
#include "platform/clipboard.h"
#include "tools/calculatorengine.h"
#include "tools/pocketstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <benchmark/benchmark.h>

namespace {

void BM_CalculatorKeyPress(benchmark::State &state)
{
    CalculatorEngine calc;
    // 7 ÷ 3 = then × 1.25 =: divisions, products and ten-place decimal texts.
    const CalcKey keys[] = {CalcKey::ofDigit(7),         CalcKey::ofOp(CalcOp::div), CalcKey::ofDigit(3),
                            CalcKey::of(CalcKey::Kind::equals), CalcKey::of(CalcKey::Kind::fraction),
                            CalcKey::ofOp(CalcOp::mul),  CalcKey::ofDigit(1),        CalcKey::of(CalcKey::Kind::dot),
                            CalcKey::ofDigit(2),         CalcKey::ofDigit(5),        CalcKey::of(CalcKey::Kind::equals),
                            CalcKey::of(CalcKey::Kind::ac)};
    size_t i = 0;
    for (auto _ : state) {
        calc.press(keys[i]);
        i = (i + 1) % std::size(keys);
        benchmark::DoNotOptimize(calc.display());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CalculatorKeyPress)->Unit(benchmark::kMicrosecond);

class NoClipboard final : public platform::IClipboard {
public:
    int changeCount() override { return 0; }
    std::optional<QString> text() override { return std::nullopt; }
    void setText(const QString &) override {}
    void setImage(const QImage &) override {}
    QList<QUrl> fileUrls() override { return {}; }
    QImage readImage() override { return {}; }
};

// drop: the folder itself (one item) or its 1,000 files (1,000 items).
void pocketIngest(benchmark::State &state, bool eachFile)
{
    QTemporaryDir tmp;
    QDir(tmp.path()).mkpath("source/files");
    for (int i = 0; i < 1000; ++i) {
        QFile f(tmp.filePath(QStringLiteral("source/files/file%1.txt").arg(i)));
        f.open(QIODevice::WriteOnly);
        f.write("small file contents\n");
    }
    UserDefaults defaults(tmp.filePath("defaults.json"));
    SystemClock clock;
    NoClipboard clipboard;
    QList<QUrl> drop{QUrl::fromLocalFile(tmp.filePath("source/files"))};
    if (eachFile) {
        drop.clear();
        for (int i = 0; i < 1000; ++i)
            drop.append(QUrl::fromLocalFile(tmp.filePath(QStringLiteral("source/files/file%1.txt").arg(i))));
    }
    for (auto _ : state) {
        state.PauseTiming();
        QDir(tmp.filePath("pocket")).removeRecursively();
        PocketStore store(&defaults, &clock, &clipboard, tmp.filePath("pocket"), tmp.path());
        state.ResumeTiming();
        store.ingest(drop);
        benchmark::DoNotOptimize(store.items().size());
    }
    state.counters["per_file"] =
        benchmark::Counter(double(state.iterations()) * 1000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
void BM_PocketIngestFolderOf1000Files(benchmark::State &state)
{
    pocketIngest(state, false);
}
BENCHMARK(BM_PocketIngestFolderOf1000Files)->Unit(benchmark::kMillisecond);

void BM_PocketIngest1000Files(benchmark::State &state)
{
    pocketIngest(state, true);
}
BENCHMARK(BM_PocketIngest1000Files)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
