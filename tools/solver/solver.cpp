#include "tools/solver/solver.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/board_record.h"
#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "engine/move_rules.h"

namespace {

constexpr Target kNeighbours[] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}};

// Every position found so far, each `stride` bytes in one block, with an open-addressing table
// of their numbers (with the upper half of their hash) for the duplicate test. Positions are
// numbered in the order found, so the search queue is simply the numbers from the head onward.
class PositionSet {
  public:
    explicit PositionSet(std::size_t stride) : stride_(stride), table_(1 << 12, kEmpty) {
        // Room for the largest built-in search up front: reserving touches no memory, and
        // growing would copy every position found so far.
        bytes_.reserve(kExpectedPositions * stride);
    }
    static constexpr std::size_t kExpectedPositions = 1 << 18;

    std::size_t Size() const { return count_; }
    const char* At(std::size_t n) const { return bytes_.data() + n * stride_; }

    // The hash of a position, and a hint to the processor to fetch its table slot now, so that
    // the slots of a position's successors load side by side rather than one after another.
    std::uint64_t Prepare(const char* position) const {
        const std::uint64_t hash = Hash(position);
        __builtin_prefetch(&table_[Home(hash)]);
        return hash;
    }

    // Adds the position unless it is known already; true when it was new. `hash` is what
    // Prepare gave for it, before any Add since.
    bool Add(const char* position, std::uint64_t hash) {
        if ((count_ + 1) * 2 > table_.size()) Grow();
        const std::uint64_t tag = hash & kTagMask;
        std::size_t slot = Home(tag);
        while (table_[slot] != kEmpty) {
            // The stored upper hash bits spare most comparisons of whole positions.
            if ((table_[slot] & kTagMask) == tag &&
                std::memcmp(At(table_[slot] & kNumberMask), position, stride_) == 0)
                return false;
            slot = (slot + 1) & (table_.size() - 1);
        }
        table_[slot] = tag | count_;
        bytes_.insert(bytes_.end(), position, position + stride_);
        ++count_;
        return true;
    }
    bool Add(const char* position) { return Add(position, Hash(position)); }

  private:
    static constexpr std::uint64_t kEmpty = UINT64_MAX;
    static constexpr std::uint64_t kTagMask = 0xFFFFFFFF00000000ull;
    static constexpr std::uint64_t kNumberMask = 0xFFFFFFFFull;

    // A position's first slot comes from the upper hash bits, the ones its table entry keeps,
    // so that growing the table never reads the positions again.
    std::size_t Home(std::uint64_t hash) const { return (hash >> 32) & (table_.size() - 1); }

    // Eight bytes at a time, each word mixed in with a multiply and a shift.
    std::uint64_t Hash(const char* p) const {
        std::uint64_t h = 0x9E3779B97F4A7C15ull;
        std::size_t i = 0;
        for (; i + 8 <= stride_; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            h = (h ^ word) * 0xFF51AFD7ED558CCDull;
            h ^= h >> 32;
        }
        for (; i < stride_; ++i) h = (h ^ static_cast<unsigned char>(p[i])) * 0x100000001B3ull;
        return h ^ (h >> 29);
    }

    void Grow() {
        std::vector<std::uint64_t> bigger(table_.size() * 2, kEmpty);
        for (std::uint64_t entry : table_) {
            if (entry == kEmpty) continue;
            std::size_t slot = (entry >> 32) & (bigger.size() - 1);
            while (bigger[slot] != kEmpty) slot = (slot + 1) & (bigger.size() - 1);
            bigger[slot] = entry;
        }
        table_.swap(bigger);
    }

    std::size_t stride_;
    std::size_t count_ = 0;
    std::vector<char> bytes_;
    std::vector<std::uint64_t> table_;
};

struct Visit {
    std::int32_t parent;  // the position this one was reached from; -1 for the start
    Target target;
};

}  // namespace

std::optional<std::vector<Target>> SolveRecord(const char* start, int width, int height) {
    if (!RecordFits(width, height)) return std::nullopt;
    const int suffix = SuffixIndex(width, height);
    const std::size_t length = static_cast<std::size_t>(suffix) + 2;
    if (strnlen(start, kSlotSize) != length) return std::nullopt;

    PositionSet positions(length);
    std::vector<Visit> visits;
    visits.reserve(PositionSet::kExpectedPositions);
    positions.Add(start);
    visits.push_back({-1, {0, 0}});

    char slot[kSlotSize] = {};
    char next[4][kSlotSize];
    for (std::size_t head = 0; head < positions.Size(); ++head) {
        std::memcpy(slot, positions.At(head), length);
        if (IsSolved(slot)) {
            std::vector<Target> path;
            for (auto at = static_cast<std::int32_t>(head); visits[at].parent >= 0;
                 at = visits[at].parent)
                path.push_back(visits[at].target);
            std::reverse(path.begin(), path.end());
            return path;
        }
        const int px = Digit(slot[suffix]), py = Digit(slot[suffix + 1]);
        // All successors first, then the duplicate tests, so their table reads overlap.
        Target targets[4];
        std::uint64_t hashes[4];
        int found = 0;
        for (const Target& d : kNeighbours) {
            const Target t{px + d.x, py + d.y};
            if (StepBoard(slot, width, height, t.x, t.y, next[found]) != StepMoved) continue;
            targets[found] = t;
            hashes[found] = positions.Prepare(next[found]);
            ++found;
        }
        for (int i = 0; i < found; ++i) {
            if (positions.Add(next[i], hashes[i]))
                visits.push_back({static_cast<std::int32_t>(head), targets[i]});
        }
    }
    return std::nullopt;
}

std::optional<std::vector<Target>> SolvePuzzle(int number) {
    char slot[kSlotSize];
    int width = 0, height = 0;
    StartRecord(number, slot, &width, &height);
    return SolveRecord(slot, width, height);
}
