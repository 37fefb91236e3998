// A set of positions of one board, numbered in the order they were added: their keys kept `words`
// words each, one after the other, and an open-addressed index of 32-bit entries, each a number
// (24 bits, so up to 16,777,215 positions) beside 8 bits of the key's hash, which spare most
// comparisons of whole keys.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "search/board_codec.h"

class KeySet {
  public:
    explicit KeySet(int words) : words_(words) {}

    std::size_t Size() const { return keys_.size() / words_; }
    PositionKey At(std::size_t n) const {
        PositionKey key;
        std::copy_n(keys_.begin() + static_cast<std::ptrdiff_t>(n * words_), words_, key.word);
        return key;
    }
    // Forgets every key, keeping the room they took.
    void Clear() {
        keys_.clear();
        std::fill(index_.begin(), index_.end(), 0);
    }
    void Swap(KeySet& other) {
        std::swap(words_, other.words_);
        keys_.swap(other.keys_);
        index_.swap(other.index_);
    }

    static constexpr std::size_t kMostKeys = (std::size_t{1} << 24) - 1;

    // The index slot of `key` (whose hash is `hash`): holding its number when the set has it,
    // empty otherwise, for Add. Valid until the next call of Slot.
    std::uint32_t* Slot(const PositionKey& key, std::uint64_t hash) {
        if ((Size() + 1) * 3 > index_.size() * 2) Grow();
        const std::size_t mask = index_.size() - 1;
        const std::uint32_t tag = Tag(hash);
        std::size_t slot = (hash >> 32) & mask;
        for (; index_[slot] != 0; slot = (slot + 1) & mask)
            if ((index_[slot] & kTagMask) == tag && Holds(NumberIn(index_[slot]), key)) break;
        return &index_[slot];
    }
    static std::uint32_t NumberIn(std::uint32_t entry) { return (entry & ~kTagMask) - 1; }
    // Adds `key` into its empty `slot`, when the set has room for it (Size() < kMostKeys); its
    // number.
    std::uint32_t Add(std::uint32_t* slot, const PositionKey& key, std::uint64_t hash) {
        const auto number = static_cast<std::uint32_t>(Size());
        keys_.insert(keys_.end(), key.word, key.word + words_);
        *slot = Tag(hash) | (number + 1u);
        return number;
    }
    bool Contains(const PositionKey& key) {
        return !keys_.empty() && *Slot(key, HashKey(key)) != 0;
    }

  private:
    static constexpr std::uint32_t kTagMask = 0xFF000000u;
    static std::uint32_t Tag(std::uint64_t hash) {
        return static_cast<std::uint32_t>(hash >> 56) << 24;
    }

    bool Holds(std::size_t n, const PositionKey& key) const {
        return std::equal(key.word, key.word + words_,
                          keys_.begin() + static_cast<std::ptrdiff_t>(n * words_));
    }
    // The entries keep too little of the hash to place themselves: each key's is found again.
    void Grow() {
        std::vector<std::uint32_t> bigger(std::max<std::size_t>(index_.size() * 2, 1 << 14), 0);
        const std::size_t mask = bigger.size() - 1;
        for (std::uint32_t entry : index_) {
            if (entry == 0) continue;
            std::size_t slot = (HashKey(At(NumberIn(entry))) >> 32) & mask;
            while (bigger[slot] != 0) slot = (slot + 1) & mask;
            bigger[slot] = entry;
        }
        index_.swap(bigger);
    }

    int words_;
    std::vector<std::uint64_t> keys_;
    std::vector<std::uint32_t> index_;
};
