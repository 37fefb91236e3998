// The answer to H, worst case over each built-in puzzle's hardest positions: its farthest from a
// solved one, and positions drawn at random with a way out and without. Aims: every answer in
// 16 ms, the first one of a puzzle (its table read, or its search begun) included, within 64 MB.
// A puzzle the build tables is counted whole first to draw them; for the others they come from
// bench/hints/puzzleN.txt, drawn from the whole count (see that file). The peak memory is the
// process's: measured alone, puzzle 9's is what its answers take.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

#include "engine/catalogue.h"
#include "engine/move_rules.h"
#include "search/built_in_hints.h"
#include "search/hints.h"
#include "search/space.h"

namespace {

constexpr int kDrawn = 60;
constexpr std::size_t kMostCounted = 3'000'000;

std::vector<Space::Sample> SamplesOf(int number, const char* start) {
    if (FindHintData(BuiltInHints(), HintDataTable, start)) {
        if (const auto space = Space::Explore(start, kMostCounted)) return space->Samples(kDrawn);
    }
    std::vector<Space::Sample> samples;
    std::ifstream in(std::string(VELQUIN_SOURCE_DIR) + "/bench/hints/puzzle" +
                     std::to_string(number) + ".txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Space::Sample sample;
        if (line[0] != '#' && fields >> sample.record >> sample.distance) samples.push_back(sample);
    }
    return samples;
}

double Milliseconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
        .count();
}

void BM_HintWorstAnswer(benchmark::State& state) {
    const int number = static_cast<int>(state.range(0));
    char start[kSlotSize];
    int width = 0, height = 0;
    StartRecord(number, start, &width, &height);
    const std::vector<Space::Sample> samples = SamplesOf(number, start);
    if (samples.empty()) {
        state.SkipWithError("no positions to measure");
        return;
    }
    double first = 0, worst = 0;
    std::vector<double> times;
    int wrong = 0;
    for (auto _ : state) {
        // The first question of a puzzle pays for reading its table or building its search.
        const auto began = std::chrono::steady_clock::now();
        auto hints = PuzzleHints::For(start, BuiltInHints());
        benchmark::DoNotOptimize(hints->Ask(start));
        first = Milliseconds(began);
        times.clear();
        for (const Space::Sample& sample : samples) {
            hints->ForgetAnswers();
            const auto asked = std::chrono::steady_clock::now();
            const HintAnswer answer = hints->Ask(sample.record.c_str());
            times.push_back(Milliseconds(asked));
            wrong += answer.wayOut != (sample.distance >= 0) ||
                     (answer.wayOut && answer.distance != sample.distance);
        }
    }
    worst = *std::max_element(times.begin(), times.end());
    std::sort(times.begin(), times.end());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["positions"] = static_cast<double>(samples.size());
    state.counters["first_ms"] = first;
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["worst_ms"] = worst;
    state.counters["wrong"] = wrong;
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_HintWorstAnswer)->DenseRange(0, 15)->Iterations(1)->Unit(benchmark::kMillisecond);

// All 16 puzzles solved as velquin-solve --all solves them: each one's whole way from its start,
// each puzzle's table read (or its search begun) anew. Aim: 25 ms.
void BM_SolveAllByHints(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t moves = 0;
        for (int number = 0; number < kPuzzleCount; ++number) {
            char start[kSlotSize];
            int width = 0, height = 0;
            StartRecord(number, start, &width, &height);
            bool known = true;
            const auto way = PuzzleHints::For(start, BuiltInHints())->Way(start, &known);
            if (!way) state.SkipWithError("a puzzle without a way out");
            moves += way ? way->size() : 0;
        }
        benchmark::DoNotOptimize(moves);
        state.counters["moves"] = static_cast<double>(moves);
    }
}
BENCHMARK(BM_SolveAllByHints)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
