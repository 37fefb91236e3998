#include "engine/puzzle_pack.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/board_record.h"

namespace {

// A record's text and, when it is played, the suffix's ';', two digits and the zero byte.
constexpr std::size_t kLongestText = kSlotSize - 4;

// Record characters as a message shows them: printable ones as they are, others by their code.
std::string Shown(std::string_view text) {
    std::string shown;
    for (char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            shown += c;
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(c));
            shown += code;
        }
    }
    return "'" + shown + "'";
}

std::string Cell(int x, int y) {
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

std::string Board(int width, int height) {
    return std::to_string(width) + " by " + std::to_string(height) + " board";
}

// Whether a box cell's two digits name a cell of the board.
bool OnBoard(std::string_view digits, int width, int height) {
    const int x = Digit(digits[0]), y = Digit(digits[1]);
    return x >= 0 && y >= 0 && x < width && y < height;
}

std::vector<std::string_view> Rows(std::string_view grid) {
    std::vector<std::string_view> rows;
    for (std::size_t start = 0;;) {
        const std::size_t end = grid.find(';', start);
        rows.push_back(grid.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return rows;
        start = end + 1;
    }
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trimmed(std::string_view line) {
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    return line;
}

}  // namespace

std::string RecordProblem(std::string_view record) {
    if (record.size() > kLongestText)
        return "over the record size limit: " + std::to_string(record.size()) +
               " characters, at most " + std::to_string(kLongestText);
    if (record.size() < 6)
        return "too short: a record begins with the width, the height and the red and the blue "
               "box's cells, six digits";
    const int width = Digit(record[0]), height = Digit(record[1]);
    if (width < 1 || width > kLargestSide)
        return "the width " + Shown(record.substr(0, 1)) + " is not a digit from 1 to 6";
    if (height < 1 || height > kLargestSide)
        return "the height " + Shown(record.substr(1, 1)) + " is not a digit from 1 to 6";
    if (!RecordFits(width, height))
        return "over the record size limit: a " + Board(width, height) + " does not fit one";
    if (!OnBoard(record.substr(2, 2), width, height))
        return "the red box's cell " + Shown(record.substr(2, 2)) + " is not on the " +
               Board(width, height);
    if (!OnBoard(record.substr(4, 2), width, height))
        return "the blue box's cell " + Shown(record.substr(4, 2)) + " is not on the " +
               Board(width, height);

    const std::vector<std::string_view> rows = Rows(record.substr(6));
    if (static_cast<int>(rows.size()) != height)
        return std::to_string(rows.size()) + " rows of cells for a " + Board(width, height);
    int pushers = 0;
    for (int y = 0; y < height; ++y) {
        if (static_cast<int>(rows[y].size()) != width)
            return "row " + std::to_string(y) + " has " + std::to_string(rows[y].size()) +
                   " cells, not " + std::to_string(width);
        for (int x = 0; x < width; ++x) {
            const char code = rows[y][x];
            if (kCellLayers.parts[static_cast<unsigned char>(code)].code == 0)
                return "unknown cell code " + Shown(rows[y].substr(x, 1)) + " at " + Cell(x, y);
            pushers += code == 'M';
        }
    }
    if (pushers != 1)
        return pushers == 0 ? "no pusher: no cell holds 'M'"
                            : std::to_string(pushers) + " pushers: exactly one cell holds 'M'";

    const auto parts = [&](int xIndex) {
        return kCellLayers.parts[static_cast<unsigned char>(
            rows[Digit(record[xIndex + 1])][Digit(record[xIndex])])];
    };
    if (parts(2).smallBox == '-') return "no small box at the red box's cell";
    if (parts(4).bigBox == '-') return "no big box at the blue box's cell";
    if (IsSolved(record.data())) return "already solved: the red box starts inside the blue box";
    return {};
}

bool ParsePack(std::string_view text, PuzzlePack* pack, int* line, std::string* reason) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a UTF-8 byte-order mark
    int count = 0, number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view record = Trimmed(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (record.empty() || record.front() == '#') continue;
        *line = number;
        if (count == kPuzzleCount) {
            *reason = "a 17th puzzle: a pack holds exactly 16";
            return false;
        }
        *reason = RecordProblem(record);
        if (!reason->empty()) return false;
        std::memset(pack->texts[count], 0, kSlotSize);
        std::memcpy(pack->texts[count], record.data(), record.size());
        pack->lines[count] = number;
        ++count;
    }
    if (count == kPuzzleCount) return true;
    *line = number > 0 ? number : 1;
    *reason = count == 0 ? "no puzzle: a pack holds exactly 16"
                         : "only " + std::to_string(count) + (count == 1 ? " puzzle" : " puzzles") +
                               ": a pack holds exactly 16";
    return false;
}

std::string PackDigest(const PuzzlePack& pack) {
    // 64-bit FNV-1a over each record and a line feed after it.
    std::uint64_t hash = 0xCBF29CE484222325ull;
    const auto add = [&hash](unsigned char c) { hash = (hash ^ c) * 0x100000001B3ull; };
    for (const char* text : pack.texts) {
        for (const char* c = text; *c; ++c) add(static_cast<unsigned char>(*c));
        add('\n');
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return digits;
}
