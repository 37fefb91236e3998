#include "search/solver.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/board_record.h"
#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "engine/move_rules.h"

namespace {

constexpr Target kNeighbours[] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}};

// A record as `Words` eight-byte words: the record, its zero byte and zeros up to the last word.
template <int Words>
struct Position {
    static_assert(8 * Words <= kSlotSize);
    std::uint64_t word[Words];
    bool operator==(const Position&) const = default;
};

template <int Words>
Position<Words> Load(const char* slot) {
    Position<Words> p;
    std::memcpy(p.word, slot, sizeof p.word);
    return p;
}

// Each word mixed in with a multiply; the last multiply spreads every bit into the upper half,
// which the table uses.
template <int Words>
std::uint64_t Hash(const Position<Words>& p) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < Words; ++i) {
        h = (h ^ p.word[i]) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    return h * 0xC4CEB9FE1A85EC53ull;
}

// Every position found so far, in the order found, with an open-addressing table of their
// numbers (with the upper half of their hash) for the duplicate test. The numbers are the
// search queue: the head simply walks them onward.
template <int Words>
class PositionSet {
  public:
    PositionSet() : table_(kFirstSlots, kEmpty) {
        // Room for the largest built-in search up front: reserving touches no memory, and
        // growing would copy every position found so far.
        positions_.reserve(kExpectedPositions);
    }
    static constexpr std::size_t kExpectedPositions = 1 << 18;

    std::size_t Size() const { return positions_.size(); }
    const Position<Words>& At(std::size_t n) const { return positions_[n]; }

    // The hash of a position, and a hint to the processor to fetch its table slot now, so that
    // the slot is at hand by the time Add looks at it.
    std::uint64_t Prepare(const Position<Words>& position) const {
        const std::uint64_t hash = Hash(position);
        __builtin_prefetch(&table_[Home(hash)]);
        return hash;
    }

    // Adds the position unless it is known already; true when it was new. `hash` is what
    // Prepare gave for it.
    bool Add(const Position<Words>& position, std::uint64_t hash) {
        if ((positions_.size() + 1) * 2 > table_.size()) Grow();
        const std::uint64_t tag = hash & kTagMask;
        std::size_t slot = Home(tag);
        while (table_[slot] != kEmpty) {
            // The stored upper hash bits spare most comparisons of whole positions.
            if ((table_[slot] & kTagMask) == tag &&
                positions_[table_[slot] & kNumberMask] == position)
                return false;
            slot = (slot + 1) & (table_.size() - 1);
        }
        table_[slot] = tag | positions_.size();
        positions_.push_back(position);
        return true;
    }

  private:
    static constexpr std::size_t kFirstSlots = 1 << 12;
    static constexpr std::uint64_t kEmpty = UINT64_MAX;
    static constexpr std::uint64_t kTagMask = 0xFFFFFFFF00000000ull;
    static constexpr std::uint64_t kNumberMask = 0xFFFFFFFFull;

    // A position's first slot comes from the upper hash bits, the ones its table entry keeps,
    // so that growing the table never reads the positions again.
    std::size_t Home(std::uint64_t hash) const { return (hash >> 32) & (table_.size() - 1); }

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

    std::vector<Position<Words>> positions_;
    std::vector<std::uint64_t> table_;
};

// The search for records of at most 8 * Words - 1 characters.
template <int Words>
std::optional<std::vector<Target>> Search(const char* start, int width, int height) {
    const int suffix = SuffixIndex(width, height);
    PositionSet<Words> positions;
    // The position each one was reached from. The move that reached it needs no keeping: a
    // step puts the pusher on its target, so the target is the pusher's cell in the position
    // reached.
    std::vector<std::uint32_t> parents;
    parents.reserve(PositionSet<Words>::kExpectedPositions);

    // Bytes past the record stay zero in every slot: a step copies them from its source.
    char slot[kSlotSize] = {};
    std::memcpy(slot, start, static_cast<std::size_t>(suffix) + 2);
    const Position<Words> first = Load<Words>(slot);
    positions.Add(first, Hash(first));
    parents.push_back(0);

    // The successors of a position are found a few positions before they are added: a table
    // slot that missed the cache then has that long to arrive, where fetching it only just
    // before its duplicate test would wait for it every time. Positions are still added in
    // the same order, so the numbering and the solution found are those of the plain search.
    constexpr std::size_t kAhead = 8;
    struct Successors {
        int count;
        Position<Words> position[4];
        std::uint64_t hash[4];
    };
    Successors ahead[kAhead];
    char next[4][kSlotSize];
    std::size_t stepped = 0;  // positions whose successors are found
    for (std::size_t head = 0; head < positions.Size(); ++head) {
        for (; stepped < positions.Size() && stepped <= head + kAhead - 1; ++stepped) {
            std::memcpy(slot, positions.At(stepped).word, sizeof(Position<Words>));
            if (IsSolved(slot)) {
                // Every position before this one was stepped and none was solved: it is the
                // first solved one of the search, and the path to it is complete.
                std::vector<Target> path;
                for (std::size_t at = stepped; at != 0; at = parents[at]) {
                    const char* reached = reinterpret_cast<const char*>(positions.At(at).word);
                    path.push_back({Digit(reached[suffix]), Digit(reached[suffix + 1])});
                }
                std::reverse(path.begin(), path.end());
                return path;
            }
            const int px = Digit(slot[suffix]), py = Digit(slot[suffix + 1]);
            // All steps first, then the hashes: a record read a word at a time right after the
            // step wrote it byte by byte would wait for those writes.
            int count = 0;
            for (const Target& d : kNeighbours) {
                const int x = px + d.x, y = py + d.y;
                if (x < 0 || y < 0 || x >= width || y >= height) continue;  // never a step
                if (StepBoard(slot, width, height, x, y, next[count]) == StepMoved) ++count;
            }
            Successors& found = ahead[stepped % kAhead];
            found.count = count;
            for (int i = 0; i < count; ++i) {
                found.position[i] = Load<Words>(next[i]);
                found.hash[i] = positions.Prepare(found.position[i]);
            }
        }
        const Successors& found = ahead[head % kAhead];
        for (int i = 0; i < found.count; ++i) {
            if (positions.Add(found.position[i], found.hash[i]))
                parents.push_back(static_cast<std::uint32_t>(head));
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<Target>> SolveRecord(const char* start, int width, int height) {
    if (!RecordFits(width, height)) return std::nullopt;
    const std::size_t length = static_cast<std::size_t>(SuffixIndex(width, height)) + 2;
    if (strnlen(start, kSlotSize) != length) return std::nullopt;
    // The fewest words that hold the record and its zero byte: 3 for 3 by 3, 6 for 6 by 5.
    switch (length / 8 + 1) {
        case 1:
        case 2:
        case 3:
            return Search<3>(start, width, height);
        case 4:
            return Search<4>(start, width, height);
        case 5:
            return Search<5>(start, width, height);
        default:
            return Search<6>(start, width, height);
    }
}

std::optional<std::vector<Target>> SolvePuzzle(int number) {
    char slot[kSlotSize];
    int width = 0, height = 0;
    StartRecord(number, slot, &width, &height);
    return SolveRecord(slot, width, height);
}
