#include "search/board_codec.h"

#include <cstring>

#include "engine/board_record.h"
#include "engine/game_state.h"

namespace {

constexpr int kCellFieldBits = 6;  // a cell number, 0 to 35

// The key's fields one after the other, low bits first; a field may straddle two words.
class BitWriter {
  public:
    explicit BitWriter(PositionKey& key) : key_(key) {}
    void Put(std::uint64_t value, int count) {
        key_.word[word_] |= value << offset_;
        offset_ += count;
        if (offset_ < 64) return;
        offset_ -= 64;
        ++word_;
        if (offset_ != 0) key_.word[word_] = value >> (count - offset_);
    }

  private:
    PositionKey& key_;
    int word_ = 0, offset_ = 0;
};

class BitReader {
  public:
    explicit BitReader(const PositionKey& key) : key_(key) {}
    std::uint64_t Get(int count) {
        std::uint64_t value = key_.word[word_] >> offset_;
        offset_ += count;
        if (offset_ >= 64) {
            offset_ -= 64;
            ++word_;
            if (offset_ != 0) value |= key_.word[word_] << (count - offset_);
        }
        return value & ((std::uint64_t{1} << count) - 1);
    }

  private:
    const PositionKey& key_;
    int word_ = 0, offset_ = 0;
};

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
    BitWriter out(key);
    for (int y = 0; y < height_; ++y) {
        const char* row = record + CellIndex(width_, 0, y);
        for (int x = 0; x < width_; ++x)
            out.Put(static_cast<std::uint64_t>(indexOf_[static_cast<unsigned char>(row[x])]),
                    cellBits_);
    }
    const int s = SuffixIndex(width_, height_);
    for (int field : {2, 4, s})
        out.Put(
            static_cast<std::uint64_t>(Digit(record[field + 1]) * width_ + Digit(record[field])),
            kCellFieldBits);
    return key;
}

void BoardCodec::Decode(const PositionKey& key, char* slot) const {
    std::memset(slot, 0, kSlotSize);
    slot[0] = DigitChar(width_);
    slot[1] = DigitChar(height_);
    BitReader in(key);
    for (int y = 0; y < height_; ++y) {
        char* row = slot + CellIndex(width_, 0, y);
        for (int x = 0; x < width_; ++x) row[x] = codes_[in.Get(cellBits_)];
        row[width_] = ';';
    }
    const int s = SuffixIndex(width_, height_);
    for (int field : {2, 4, s}) {
        const int cell = static_cast<int>(in.Get(kCellFieldBits));
        slot[field] = DigitChar(cell % width_);
        slot[field + 1] = DigitChar(cell / width_);
    }
    slot[s + 2] = '\0';
    char& pusherCell = slot[CellIndex(width_, Digit(slot[s]), Digit(slot[s + 1]))];
    if (pusherCell == '-') pusherCell = 'M';
}
