// The shipped pack made again from the command in its header: every puzzle counted whole, its
// shortest length proved. Target: under 10 minutes, the puzzles those of the file, at least one
// longer than 200 moves. The pack is the first of the repository's packs/.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "search/generator.h"

namespace {

namespace fs = std::filesystem;

struct ShippedPack {
    std::string name;
    GeneratorOptions options;
    std::vector<std::string> puzzles;
    bool made = false;  // the header names the command that made it
};

// The header's command, `velquin-solve --generate --seed S --size WxH --count N --min-moves M`,
// and the puzzle lines.
ShippedPack ReadShippedPack() {
    ShippedPack pack;
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(VELQUIN_SOURCE_DIR "/packs", error))
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
    if (files.empty()) return pack;
    std::sort(files.begin(), files.end());
    pack.name = files.front().stem().string();
    std::ifstream in(files.front());
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') pack.puzzles.push_back(line);
        if (line.find("--generate") == std::string::npos) continue;
        std::istringstream words(line.substr(line.find("--generate") + 10));
        pack.made = true;
        for (std::string word, value; words >> word;) {
            if (!(words >> value)) break;
            if (word == "--seed") pack.options.seed = std::stoull(value);
            if (word == "--count") pack.options.count = std::stoi(value);
            if (word == "--min-moves") pack.options.minMoves = std::stoi(value);
            if (word == "--size" && value.size() == 3) {
                pack.options.width = value[0] - '0';
                pack.options.height = value[2] - '0';
            }
        }
    }
    return pack;
}

void BM_RegenerateShippedPack(benchmark::State& state) {
    const ShippedPack pack = ReadShippedPack();
    if (!pack.made) {
        state.SkipWithError("no pack in packs/ names the command that made it");
        return;
    }
    GeneratorResult result;
    for (auto _ : state) result = GeneratePuzzles(pack.options);
    std::vector<std::string> made;
    int longest = 0;
    for (const GeneratedPuzzle& puzzle : result.puzzles) {
        made.push_back(puzzle.text);
        longest = std::max(longest, puzzle.moves);
    }
    if (made != pack.puzzles) state.SkipWithError("the puzzles made differ from the pack's");
    state.counters["longest_moves"] = longest;
    state.counters["climbs"] = static_cast<double>(result.climbs);
    state.SetLabel(pack.name);
}
BENCHMARK(BM_RegenerateShippedPack)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
