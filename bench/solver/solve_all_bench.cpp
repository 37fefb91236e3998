// Solving every built-in puzzle by breadth-first search. Target: all 16 in at most 50 ms.
#include <benchmark/benchmark.h>

#include "engine/game_state.h"
#include "search/solver.h"

static void BM_SolveAllPuzzles(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t moves = 0;
        for (int i = 0; i < kPuzzleCount; ++i) moves += SolvePuzzle(i)->size();
        benchmark::DoNotOptimize(moves);
    }
}
BENCHMARK(BM_SolveAllPuzzles)->Unit(benchmark::kMillisecond);

static void BM_SolveLargestSearch(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(SolvePuzzle(9));
}
BENCHMARK(BM_SolveLargestSearch)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
