// velquin-hint-tables OUT.cpp | OUT.bin [PACK...]: works out the hints of the built-in puzzles,
// and of the puzzles of the packs the game ships, and writes them as a C++ source of the block
// BuiltInHints() returns, or as the block itself (the web page fetches it as a file). A puzzle
// whose whole space holds at most kMostTabled positions gets every position's hint; a larger one
// gets its lighter game's distances, which bound the search the game runs for it.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "engine/puzzle_pack.h"
#include "search/hint_data.h"
#include "search/hint_table.h"
#include "search/relaxed_board.h"
#include "search/space.h"

namespace {

constexpr std::size_t kMostTabled = 3'000'000;
constexpr std::size_t kMostRelaxed = 4'000'000;

bool Fail(const char* what, int puzzle) {
    std::fprintf(stderr, "velquin-hint-tables: puzzle %d: %s\n", puzzle, what);
    return false;
}

bool WorkOut(int puzzle, std::vector<HintDataEntry>& entries) {
    char start[kSlotSize];
    int width = 0, height = 0;
    StartRecord(puzzle, start, &width, &height);
    for (const HintDataEntry& done : entries)
        if (done.start == start) return true;
    if (const auto space = Space::Explore(start, kMostTabled)) {
        auto bytes = HintTable::Build(*space);
        if (!bytes) return Fail("two positions share a hash", puzzle);
        entries.push_back({HintDataTable, start, std::move(*bytes)});
        return true;
    }
    char relaxedStart[kSlotSize];
    RelaxedBoard(start).Project(start, relaxedStart);
    const auto relaxed = Space::Explore(relaxedStart, kMostRelaxed);
    if (!relaxed) {
        // Its hints are searched for without a bound: slower, as exact.
        std::fprintf(stderr, "velquin-hint-tables: %s: no table, its spaces are too large\n",
                     start);
        return true;
    }
    auto bytes = BuildBoundTable(*relaxed);
    if (!bytes) return Fail("two positions share a hash", puzzle);
    entries.push_back({HintDataBound, start, std::move(*bytes)});
    return true;
}

// The block as 64-bit words in the machine's order (every machine the game runs on is
// little-endian), which a compiler reads faster than single bytes.
bool WriteSource(const char* path, const std::vector<std::uint8_t>& data) {
    FILE* out = std::fopen(path, "w");
    if (!out) return false;
    std::vector<std::uint64_t> words((data.size() + 7) / 8, 0);
    std::memcpy(words.data(), data.data(), data.size());
    std::fprintf(out,
                 "// Made by velquin-hint-tables.\n#include <cstdint>\n\n"
                 "#include \"search/built_in_hints.h\"\n\n"
                 "namespace {\nconst std::uint64_t kWords[] = {\n");
    for (std::size_t i = 0; i < words.size(); ++i)
        std::fprintf(out, "0x%016llxull,%s", static_cast<unsigned long long>(words[i]),
                     i % 6 == 5 ? "\n" : "");
    std::fprintf(out,
                 "0};\n}  // namespace\n\nHintDataView BuiltInHints() {\n"
                 "    return {reinterpret_cast<const std::uint8_t*>(kWords), %zuu};\n}\n",
                 data.size());
    return std::fclose(out) == 0;
}

bool WriteBlock(const char* path, const std::vector<std::uint8_t>& data) {
    FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    const bool written = std::fwrite(data.data(), 1, data.size(), out) == data.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: velquin-hint-tables OUT.cpp | OUT.bin [PACK...]\n");
        return 2;
    }
    std::vector<HintDataEntry> entries;
    for (int puzzle = 0; puzzle < kPuzzleCount; ++puzzle)
        if (!WorkOut(puzzle, entries)) return 1;
    for (int pack = 2; pack < argc; ++pack) {
        std::ifstream in(argv[pack], std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        PuzzlePack puzzles;
        int line = 0;
        std::string reason;
        if (!in || !ParsePack(text, &puzzles, &line, &reason)) {
            std::fprintf(stderr, "velquin-hint-tables: %s:%d: %s\n", argv[pack], line,
                         reason.c_str());
            return 1;
        }
        UsePuzzlePack(&puzzles);
        for (int puzzle = 0; puzzle < kPuzzleCount; ++puzzle)
            if (!WorkOut(puzzle, entries)) return 1;
        UsePuzzlePack(nullptr);
    }
    const std::string out = argv[1];
    const std::vector<std::uint8_t> data = PackHintData(entries);
    const bool binary = out.size() > 4 && out.compare(out.size() - 4, 4, ".bin") == 0;
    if (!(binary ? WriteBlock(argv[1], data) : WriteSource(argv[1], data))) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
