#include "search/board_codec.h"

#include <cstring>

#include "engine/board_record.h"
#include "engine/game_state.h"

namespace {

constexpr int kCellFieldBits = 6;  // a cell number, 0 to 35

// A field of `count` bits at bit `at`, which may straddle two words.
void PutBits(PositionKey& key, int at, int count, std::uint64_t value) {
    const int word = at / 64, offset = at % 64;
    key.word[word] |= value << offset;
    if (offset + count > 64) key.word[word + 1] |= value >> (64 - offset);
}

std::uint64_t GetBits(const PositionKey& key, int at, int count) {
    const int word = at / 64, offset = at % 64;
    std::uint64_t value = key.word[word] >> offset;
    if (offset + count > 64) value |= key.word[word + 1] << (64 - offset);
    return value & ((std::uint64_t{1} << count) - 1);
}

}  // namespace

std::optional<BoardCodec> BoardCodec::For(const char* record) {
    const int width = Digit(record[0]), height = Digit(record[1]);
    if (!RecordFits(width, height)) return std::nullopt;
    BoardCodec codec;
    codec.width_ = width;
    codec.height_ = height;
    std::memset(codec.indexOf_, -1, sizeof codec.indexOf_);
    auto add = [&](char code) {
        if (codec.indexOf_[static_cast<unsigned char>(code)] >= 0) return;
        codec.indexOf_[static_cast<unsigned char>(code)] =
            static_cast<std::int8_t>(codec.codeCount_);
        codec.codes_[codec.codeCount_++] = code;
    };
    // The pusher stands on an empty cell where the grid shows 'M': the key keeps it apart.
    add('-');
    codec.indexOf_[static_cast<unsigned char>('M')] = 0;
    bool small[4] = {}, big[4] = {};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            CellParts parts{record[CellIndex(width, x, y)], '-', '-', '-'};
            if (ExpandCell(&parts) != 0) return std::nullopt;
            if (parts.smallBox != '-') small[LetterIndex(kSmallBoxLetters, parts.smallBox)] = true;
            if (parts.bigBox != '-') big[LetterIndex(kBigBoxLetters, parts.bigBox)] = true;
        }
    }
    for (int s = 0; s < 4; ++s)
        if (small[s]) add(kSmallBoxLetters[s]);
    for (int b = 0; b < 4; ++b)
        if (big[b]) add(kBigBoxLetters[b]);
    for (int s = 0; s < 4; ++s)
        for (int b = 0; b < 4; ++b)
            if (small[s] && big[b]) add(kNestedCodes[s][b]);
    while ((1 << codec.cellBits_) < codec.codeCount_) ++codec.cellBits_;
    codec.bits_ = width * height * codec.cellBits_ + 3 * kCellFieldBits;
    if (!codec.Encodes(record)) return std::nullopt;
    return codec;
}

int BoardCodec::RecordLength() const {
    return SuffixIndex(width_, height_) + 2;
}

bool BoardCodec::Encodes(const char* record) const {
    const int length = RecordLength();
    if (static_cast<int>(strnlen(record, kSlotSize)) != length) return false;
    if (Digit(record[0]) != width_ || Digit(record[1]) != height_) return false;
    const int s = SuffixIndex(width_, height_);
    for (int at : {2, 4, s}) {
        const int x = Digit(record[at]), y = Digit(record[at + 1]);
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    }
    const int pusherAt = CellIndex(width_, Digit(record[s]), Digit(record[s + 1]));
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const int at = CellIndex(width_, x, y);
            const char code = record[at];
            if (indexOf_[static_cast<unsigned char>(code)] < 0) return false;
            // The grid shows the pusher where it stands outside any box, and nowhere else.
            if (code == 'M' ? at != pusherAt : at == pusherAt && code == '-') return false;
        }
        if (record[CellIndex(width_, width_, y)] != ';') return false;
    }
    return true;
}

PositionKey BoardCodec::Encode(const char* record) const {
    PositionKey key;
    int at = 0;
    for (int y = 0; y < height_; ++y) {
        const char* row = record + CellIndex(width_, 0, y);
        for (int x = 0; x < width_; ++x, at += cellBits_)
            PutBits(key, at, cellBits_, indexOf_[static_cast<unsigned char>(row[x])]);
    }
    const int s = SuffixIndex(width_, height_);
    for (int field : {2, 4, s}) {
        PutBits(key, at, kCellFieldBits, Digit(record[field + 1]) * width_ + Digit(record[field]));
        at += kCellFieldBits;
    }
    return key;
}

void BoardCodec::Decode(const PositionKey& key, char* slot) const {
    std::memset(slot, 0, kSlotSize);
    slot[0] = DigitChar(width_);
    slot[1] = DigitChar(height_);
    int at = 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x, at += cellBits_)
            slot[CellIndex(width_, x, y)] = codes_[GetBits(key, at, cellBits_)];
        slot[CellIndex(width_, width_, y)] = ';';
    }
    const int s = SuffixIndex(width_, height_);
    for (int field : {2, 4, s}) {
        const int cell = static_cast<int>(GetBits(key, at, kCellFieldBits));
        at += kCellFieldBits;
        slot[field] = DigitChar(cell % width_);
        slot[field + 1] = DigitChar(cell / width_);
    }
    slot[s + 2] = '\0';
    char& pusherCell = slot[CellIndex(width_, Digit(slot[s]), Digit(slot[s + 1]))];
    if (pusherCell == '-') pusherCell = 'M';
}
