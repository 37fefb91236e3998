// Values of a fixed width for a known set of positions, found through a minimal perfect hash of
// their keys: a few bits a position, whatever a key's size. The set is fixed when the table is
// built; a key outside it gives some other position's value, so a table is asked only about
// positions it was built for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "search/board_codec.h"

class PositionTable {
  public:
    // The table of keys[i] -> values[i], each value below 2^bits (bits 1 to 32), as bytes that
    // Load reads back. Nothing when two keys share their 64-bit hash.
    static std::optional<std::vector<std::uint8_t>> Build(const std::vector<PositionKey>& keys,
                                                          const std::vector<std::uint32_t>& values,
                                                          int bits);
    // Nothing when the bytes are not a whole table. The table reads its values where they stand:
    // the bytes must outlive it.
    static std::optional<PositionTable> Load(const std::uint8_t* bytes, std::size_t size);

    PositionTable(PositionTable&&) noexcept;
    PositionTable& operator=(PositionTable&&) noexcept;
    ~PositionTable();

    std::size_t Size() const { return size_; }
    std::uint32_t At(const PositionKey& key) const;

  private:
    struct Hash;
    PositionTable();

    std::unique_ptr<Hash> hash_;
    const std::uint8_t* values_ = nullptr;  // `bits_` a value, in little-endian 64-bit words
    std::size_t size_ = 0;
    int bits_ = 0;
};
