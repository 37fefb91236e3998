#include "search/space.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "engine/board_record.h"
#include "engine/move_rules.h"
#include "search/predecessors.h"

namespace {

constexpr int kSteps[4][2] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}};

// The space with keys of `Words` words, kept in blocks so that growing never copies them.
template <int Words>
class SpaceOf final : public Space {
  public:
    explicit SpaceOf(const BoardCodec& codec) : Space(codec), table_(1 << 12, 0) {}

    std::size_t Size() const override { return size_; }

    PositionKey Key(std::size_t n) const override {
        PositionKey key;
        std::copy_n(At(n).begin(), Words, key.word);
        return key;
    }

    std::optional<std::size_t> Find(const PositionKey& key) const override {
        const Packed packed = Pack(key);
        const std::size_t mask = table_.size() - 1;
        for (std::size_t slot = HashKey(key) >> 32 & mask; table_[slot] != 0;
             slot = (slot + 1) & mask)
            if (At(table_[slot] - 1) == packed) return table_[slot] - 1;
        return std::nullopt;
    }

    bool Run(const char* start, std::size_t limit) {
        const int width = codec_.Width(), height = codec_.Height();
        const int s = SuffixIndex(width, height);
        std::vector<std::uint16_t> depth;
        Add(codec_.Encode(start));
        depth.push_back(0);
        char slot[kSlotSize], next[kSlotSize];
        std::vector<std::uint32_t> solved;
        for (std::size_t n = 0; n < size_; ++n) {
            codec_.Decode(Key(n), slot);
            if (IsSolved(slot)) {
                solved.push_back(static_cast<std::uint32_t>(n));
                continue;
            }
            const int px = Digit(slot[s]), py = Digit(slot[s + 1]);
            for (const auto& step : kSteps) {
                const int x = px + step[0], y = py + step[1];
                if (x < 0 || y < 0 || x >= width || y >= height) continue;
                if (StepBoard(slot, width, height, x, y, next) != StepMoved) continue;
                if (!Add(codec_.Encode(next))) continue;
                if (size_ > limit || depth[n] + 1 >= kNoWayOut) return false;
                depth.push_back(static_cast<std::uint16_t>(depth[n] + 1));
            }
        }
        depth_ = std::make_unique<std::uint16_t[]>(size_);
        std::copy(depth.begin(), depth.end(), depth_.get());
        depth = {};
        solved_ = solved.size();
        return MeasureDistances(std::move(solved));
    }

  private:
    using Packed = std::array<std::uint64_t, Words>;
    static constexpr std::size_t kBlock = std::size_t{1} << 20;

    static Packed Pack(const PositionKey& key) {
        Packed packed;
        std::copy_n(key.word, Words, packed.begin());
        return packed;
    }
    const Packed& At(std::size_t n) const { return blocks_[n / kBlock][n % kBlock]; }

    // Adds the key unless it is known; true when it was new.
    bool Add(const PositionKey& key) {
        if ((size_ + 1) * 10 > table_.size() * 7) Grow();
        const Packed packed = Pack(key);
        const std::size_t mask = table_.size() - 1;
        std::size_t slot = HashKey(key) >> 32 & mask;
        for (; table_[slot] != 0; slot = (slot + 1) & mask)
            if (At(table_[slot] - 1) == packed) return false;
        if (size_ % kBlock == 0) blocks_.push_back(std::make_unique<Packed[]>(kBlock));
        blocks_.back()[size_ % kBlock] = packed;
        table_[slot] = static_cast<std::uint32_t>(++size_);
        return true;
    }

    void Grow() {
        std::vector<std::uint32_t> bigger(table_.size() * 2, 0);
        const std::size_t mask = bigger.size() - 1;
        for (std::uint32_t entry : table_) {
            if (entry == 0) continue;
            std::size_t slot = HashKey(Key(entry - 1)) >> 32 & mask;
            while (bigger[slot] != 0) slot = (slot + 1) & mask;
            bigger[slot] = entry;
        }
        table_.swap(bigger);
    }

    // A breadth-first search backward from the solved positions, through the steps that lead
    // to each position.
    bool MeasureDistances(std::vector<std::uint32_t> queue) {
        const int width = codec_.Width(), height = codec_.Height();
        distance_ = std::make_unique<std::uint16_t[]>(size_);
        std::fill_n(distance_.get(), size_, kNoWayOut);
        for (std::uint32_t n : queue) distance_[n] = 0;
        queue.reserve(size_);
        char slot[kSlotSize], before[kMostPredecessors][kSlotSize];
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const std::uint32_t n = queue[head];
            const int next = distance_[n] + 1;
            if (next >= kNoWayOut) return false;
            codec_.Decode(Key(n), slot);
            const int count = Predecessors(slot, width, height, before);
            for (int i = 0; i < count; ++i) {
                const auto found = Find(codec_.Encode(before[i]));
                if (!found || distance_[*found] != kNoWayOut) continue;
                distance_[*found] = static_cast<std::uint16_t>(next);
                queue.push_back(static_cast<std::uint32_t>(*found));
                largest_ = std::max(largest_, next);
            }
        }
        dead_ = size_ - queue.size();
        return true;
    }

    std::vector<std::unique_ptr<Packed[]>> blocks_;
    std::vector<std::uint32_t> table_;  // position number + 1, 0 for an empty slot
    std::size_t size_ = 0;
};

template <int Words>
std::unique_ptr<Space> ExploreWith(const BoardCodec& codec, const char* start, std::size_t limit) {
    auto space = std::make_unique<SpaceOf<Words>>(codec);
    if (!space->Run(start, limit)) return nullptr;
    return space;
}

}  // namespace

std::unique_ptr<Space> Space::Explore(const char* start, std::size_t limit) {
    const auto codec = BoardCodec::For(start);
    if (!codec) return nullptr;
    // Position numbers are kept in 32 bits, 0 marking an empty table slot.
    limit = std::min<std::size_t>(limit, UINT32_MAX - 1);
    return codec->Words() <= 2 ? ExploreWith<2>(*codec, start, limit)
                               : ExploreWith<3>(*codec, start, limit);
}

std::optional<std::size_t> Space::Find(const char* record) const {
    if (!codec_.Encodes(record)) return std::nullopt;
    return Find(codec_.Encode(record));
}

std::vector<Space::Sample> Space::Samples(int count) const {
    std::vector<Sample> samples;
    char record[kSlotSize];
    auto take = [&](std::size_t n) {
        Record(n, record);
        samples.push_back({record, distance_[n] == kNoWayOut ? -1 : distance_[n]});
    };
    for (std::size_t n = 0; n < Size() && samples.size() < 8; ++n)
        if (distance_[n] == largest_) take(n);
    std::mt19937_64 random(1);
    for (bool wayOut : {true, false}) {
        const std::size_t available = wayOut ? Size() - dead_ : dead_;
        for (std::size_t drawn = 0; drawn < std::min<std::size_t>(count, available);) {
            const std::size_t n = random() % Size();
            if ((distance_[n] != kNoWayOut) != wayOut) continue;
            take(n);
            ++drawn;
        }
    }
    return samples;
}
