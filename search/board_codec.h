// A position of one board packed into at most three 64-bit words, for searches that keep millions
// of positions: each cell's code as an index among the codes this board's boxes can make, then
// the cells of the red box, the blue box and the pusher.
#pragma once

#include <cstdint>
#include <optional>

struct PositionKey {
    std::uint64_t word[3] = {};
    bool operator==(const PositionKey&) const = default;
};

// Every bit of the key mixed into the upper half, which hash tables use first.
inline std::uint64_t HashKey(const PositionKey& key) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull;
    for (std::uint64_t word : key.word) {
        h = (h ^ word) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    return h * 0xC4CEB9FE1A85EC53ull;
}

class BoardCodec {
  public:
    // The codec of the board `record` stands on: a whole record with its pusher suffix, its
    // boxes being those of every position reachable from it (boxes never change their letters).
    // Nothing when the record is not one the game can hold.
    static std::optional<BoardCodec> For(const char* record);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The length of this board's records, without the zero byte.
    int RecordLength() const;
    // How many of the key's words are used: 2 for most boards, 3 for the largest.
    int Words() const { return (bits_ + 63) / 64; }

    // `record` is a position of this board. Encodes reports whether it is one: same size, whole,
    // only codes of this board's boxes, every position on the board.
    bool Encodes(const char* record) const;
    PositionKey Encode(const char* record) const;
    // Writes the record and its zero byte into `slot`, zeros up to the slot's end.
    void Decode(const PositionKey& key, char* slot) const;

  private:
    int width_ = 0, height_ = 0;
    int cellBits_ = 0;  // bits per cell
    int bits_ = 0;      // bits of a whole key
    int codeCount_ = 0;
    char codes_[32] = {};
    std::int8_t indexOf_[256] = {};
};
