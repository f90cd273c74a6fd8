// Times the connect-four computer's hardest move: a depth-4 alpha-beta
// search from each root column. One move must stay well under a 60 Hz frame
// (16.7 ms) because it runs on the GUI thread.
#include "games/stack4engine.h"

#include <benchmark/benchmark.h>

namespace {

using Slot = Stack4Engine::Slot;

Stack4Engine::Board emptyBoard()
{
    Stack4Engine::Board b;
    b.fill(Slot::empty);
    return b;
}

Stack4Engine::Board midGameBoard()
{
    Stack4Engine::Board b = emptyBoard();
    // Twelve discs, no line yet.
    const int columns[] = {3, 3, 2, 4, 4, 2, 1, 5, 3, 2, 5, 1};
    bool red = true;
    for (int column : columns) {
        b[*Stack4Engine::landingIndex(column, b)] = red ? Slot::red : Slot::blue;
        red = !red;
    }
    return b;
}

void BM_HardMoveEmptyBoard(benchmark::State &state)
{
    const auto board = emptyBoard();
    for (auto _ : state)
        benchmark::DoNotOptimize(Stack4Engine::bestColumn(board));
}
BENCHMARK(BM_HardMoveEmptyBoard)->Unit(benchmark::kMillisecond);

void BM_HardMoveMidGame(benchmark::State &state)
{
    const auto board = midGameBoard();
    for (auto _ : state)
        benchmark::DoNotOptimize(Stack4Engine::bestColumn(board));
}
BENCHMARK(BM_HardMoveMidGame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
