// One frame step of each action game in a busy state.
#include "core/clock.h"
#include "core/random.h"
#include "core/scheduler.h"
#include "core/userdefaults.h"
#include "games/action/blocksengine.h"
#include "games/action/cpsengine.h"
#include "games/action/dinoengine.h"
#include "games/action/flapengine.h"
#include "games/action/pongengine.h"
#include "games/action/reflexengine.h"
#include "games/action/snakeengine.h"
#include "games/action/stackengine.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QTemporaryDir *g_dir = nullptr;
UserDefaults *store()
{
    static UserDefaults defaults(g_dir->filePath("defaults.json"));
    return &defaults;
}

SystemClock g_clock;
QtScheduler g_scheduler;

constexpr double Frame = 1.0 / 60.0;

void BM_BlocksFrame(benchmark::State &state)
{
    Random random(1);
    BlocksEngine e(store(), &g_clock, &g_scheduler, &random);
    BlocksEngine::Board board{};
    for (int r = 8; r < BlocksEngine::Rows; ++r)
        for (int c = 0; c < BlocksEngine::Cols - 1; ++c)
            board[size_t(r)][size_t((c + r) % BlocksEngine::Cols)] = BlockKind::t;
    for (auto _ : state) {
        if (e.phase() != BlocksEngine::Phase::running) {
            e.reset();
            e.begin();
            e.setBoard(board);
        }
        e.advance(0.05); // the cap: a gravity step every few frames
        benchmark::DoNotOptimize(e.shadowCells());
    }
}
BENCHMARK(BM_BlocksFrame);

void BM_CPSFrame(benchmark::State &state)
{
    CPSEngine e(store(), &g_clock, &g_scheduler);
    e.select(CPSDuration::fiveMinute);
    e.prepare();
    e.click();
    for (auto _ : state) {
        e.click();
        e.tick();
    }
}
BENCHMARK(BM_CPSFrame);

void BM_DinoFrame(benchmark::State &state)
{
    Random random(2);
    DinoEngine e(store(), &g_clock, &g_scheduler, &random);
    for (auto _ : state) {
        if (e.phase() != DinoEngine::Phase::running || e.obstacles().size() < 4) {
            e.reset();
            e.start();
            e.setDistance(120 * 22);
            e.setObstacles({{1, 200, 0, 16, 20, false}, {2, 300, 0, 14, 22, false}, {3, 420, 60, 24, 16, true},
                            {4, 520, 0, 15, 18, false}, {5, 541, 0, 13, 16, false}});
        }
        e.advance(Frame);
        if (e.playerY() == 0)
            e.jump();
    }
}
BENCHMARK(BM_DinoFrame);

void BM_FlapFrame(benchmark::State &state)
{
    Random random(3);
    FlapEngine e(store(), &g_clock, &g_scheduler, &random);
    for (auto _ : state) {
        if (e.phase() != FlapEngine::Phase::running || e.pipes().size() < 3) {
            e.reset();
            e.setFieldHeight(4000);
            e.flap();
            e.setPipes({{1, 150, 1900, false}, {2, 300, 1900, false}, {3, 450, 1900, false}});
        }
        e.advance(Frame);
    }
}
BENCHMARK(BM_FlapFrame);

void BM_PongFrame(benchmark::State &state)
{
    Random random(4);
    PongEngine e(store(), &g_clock, &g_scheduler, &random);
    e.start(PongDifficulty::hard);
    for (auto _ : state) {
        if (e.phase() != PongEngine::Phase::playing)
            e.start(PongDifficulty::hard);
        e.movePlayer(e.ballY() * 240, 240);
        e.advance(Frame);
    }
}
BENCHMARK(BM_PongFrame);

void BM_ReflexPulse(benchmark::State &state)
{
    Random random(5);
    ReflexEngine e(store(), &g_clock, &g_scheduler, &random);
    e.tap();
    e.showGo();
    for (auto _ : state)
        e.pulseTick();
}
BENCHMARK(BM_ReflexPulse);

void BM_SnakeStep(benchmark::State &state)
{
    Random random(6);
    SnakeEngine e(store(), &g_clock, &g_scheduler, &random);
    // A long snake winding through the left of the board, heading right
    // along the top row.
    std::vector<SnakePoint> body;
    for (qint64 x = 12; x >= 0; --x)
        body.push_back({x, 0});
    for (qint64 y = 1; y < SnakeEngine::Rows; ++y)
        for (qint64 i = 0; i < 8; ++i)
            body.push_back({y % 2 ? i : 7 - i, y});
    for (auto _ : state) {
        state.PauseTiming();
        e.reset();
        e.start();
        e.setBoard(body, SnakePoint{16, 10});
        state.ResumeTiming();
        e.step();
    }
}
BENCHMARK(BM_SnakeStep);

void BM_StackFrame(benchmark::State &state)
{
    StackEngine e(store(), &g_clock, &g_scheduler);
    e.start();
    for (int i = 0; i < 20; ++i) {
        e.setMoving(e.slabs().back().x, e.slabs().back().width, e.goingRight());
        e.placeSlab();
    }
    for (auto _ : state)
        e.advance(Frame);
}
BENCHMARK(BM_StackFrame);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
