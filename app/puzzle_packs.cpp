#include "app/puzzle_packs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/catalogue.h"
#include "engine/puzzle_pack.h"
#include "search/built_in_hints.h"
#include "search/solution_steps.h"
#include "store/pack_solutions.h"
#include "store/settings_store.h"

namespace {

// Sixteen records and their comments take a few kilobytes; this much is no pack.
constexpr std::size_t kLargestPackFile = 1 << 20;

PuzzlePack taken;
std::string takenFile;

std::string Where(int line) {
    return takenFile + ":" + std::to_string(line) + ": ";
}

}  // namespace

bool ReadPackFile(const std::string& path, std::string* text, std::string* error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int why = fd < 0 ? errno : EISDIR;
        if (fd >= 0) close(fd);
        *error = "cannot read the puzzle pack " + path + ": " + std::strerror(why);
        return false;
    }
    text->clear();
    char buffer[8192];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *error = "cannot read the puzzle pack " + path + ": " + std::strerror(errno);
            close(fd);
            return false;
        }
        if (n == 0) break;
        text->append(buffer, static_cast<std::size_t>(n));
        if (text->size() > kLargestPackFile) {
            *error = "the puzzle pack " + path + " is larger than a pack can be (1 MiB)";
            close(fd);
            return false;
        }
    }
    close(fd);
    return true;
}

bool TakePack(const std::string& fileName, std::string_view text, std::string* error) {
    takenFile = fileName;
    int line = 0;
    std::string reason;
    if (ParsePack(text, &taken, &line, &reason)) return true;
    *error = Where(line) + reason;
    return false;
}

bool PlayPack(std::string* error) {
    const std::string digest = PackDigest(taken);
    UseSettingsSubKey(L"pack-" + std::wstring(digest.begin(), digest.end()));
    UsePuzzlePack(&taken);
    std::string kept[kPuzzleCount], found[kPuzzleCount];
    ReadSolutions(kept);
    bool searched = false;
    for (int i = 0; i < kPuzzleCount; ++i) {
        char start[kSlotSize];
        int width = 0, height = 0;
        StartRecord(i, start, &width, &height);
        if (StepsSolve(start, width, height, kept[i])) continue;
        const auto steps = ShortestSteps(start, width, height, BuiltInHints());
        if (!steps) {
            UsePuzzlePack(nullptr);
            UseSettingsSubKey(L"");
            *error = Where(taken.lines[i]) + "no sequence of moves solves this puzzle";
            return false;
        }
        found[i] = *steps;
        searched = true;
    }
    // A store that cannot be written costs a search at the next start, nothing more.
    if (searched) WriteSolutions(found);
    return true;
}
