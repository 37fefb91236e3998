// Loading a store that holds many keys of other programs: the game's settings read from a hive
// file of 20,000 and of 1,000,000 keys, each with a value, the game's own key last. Read time
// grows with the file, not with its square: 20,000 keys well under a second, a million in
// seconds.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/game_state.h"
#include "platform/registry/hive.h"
#include "platform/registry/registry.h"
#include "store/settings_store.h"

namespace {

std::string StoreText(long keys) {
    std::string text = "REGEDIT4\r\n";
    text.reserve(static_cast<size_t>(keys) * 80);
    char line[96];
    for (long k = 0; k < keys; ++k) {
        std::snprintf(
            line, sizeof line,
            "\r\n[HKEY_CURRENT_USER\\Software\\Other\\Key%07ld]\r\n\"Count\"=dword:%08lx\r\n", k,
            k);
        text += line;
    }
    text +=
        "\r\n[HKEY_CURRENT_USER\\Software\\Drosk\\VelquinPPC]\r\n\"version\"=dword:00000014\r\n"
        "\"bestscore03\"=dword:00000009\r\n";
    return text;
}

void ParseText(benchmark::State& state) {
    const std::string text = StoreText(state.range(0));
    for (auto _ : state) {
        Hive hive;
        benchmark::DoNotOptimize(ParseHive(text, &hive));
        if (hive.keys.size() != static_cast<size_t>(state.range(0)) + 1)
            state.SkipWithError("keys lost");
    }
    state.SetLabel(std::to_string(text.size() >> 20) + " MiB");
}

// The game's start-up read, from the file on disk.
void LoadSettingsFromFile(benchmark::State& state) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("velquin-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const auto file = folder / "registry.reg";
    std::ofstream(file, std::ios::binary) << StoreText(state.range(0));
    SetRegistryFilePath(file.string());
    for (auto _ : state) {
        gameState.bestScore[3] = 0;
        benchmark::DoNotOptimize(LoadSettings());
        if (gameState.bestScore[3] != 9) state.SkipWithError("settings not read");
    }
    SetRegistryFilePath("");
    std::filesystem::remove_all(folder);
}

BENCHMARK(ParseText)->Arg(20000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadSettingsFromFile)->Arg(20000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
