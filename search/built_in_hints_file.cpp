// In the browser the built-in puzzles' tables are a file beside the page, which the page fetches
// once the game has started and writes where this reads it: until it has arrived there are none,
// and the hints search as they do for any puzzle.
#include <cstdio>
#include <vector>

#include "search/built_in_hints.h"

namespace {
constexpr const char* kFile = "/hints.bin";
}  // namespace

HintDataView BuiltInHints() {
    // Read once, and kept for the life of the program: the tables read their values in place.
    static std::vector<std::uint8_t> data;
    if (data.empty()) {
        if (FILE* in = std::fopen(kFile, "rb")) {
            std::vector<std::uint8_t> bytes;
            std::uint8_t buffer[1 << 16];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
                bytes.insert(bytes.end(), buffer, buffer + n);
            const bool whole = std::ferror(in) == 0;
            std::fclose(in);
            if (whole) data.swap(bytes);
        }
    }
    return {data.data(), data.size()};
}
