#include "search/space.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "engine/board_record.h"
#include "engine/move_rules.h"
#include "search/predecessors.h"
#include "search/pusher_steps.h"

namespace {

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
        const std::uint64_t tag = HashKey(key) & kTagMask;
        const std::size_t mask = table_.size() - 1;
        for (std::size_t slot = Home(tag, mask); table_[slot] != 0; slot = (slot + 1) & mask)
            if (Holds(table_[slot], tag, packed)) return (table_[slot] & kNumberMask) - 1;
        return std::nullopt;
    }

    bool Run(const char* start, std::size_t limit) {
        std::vector<std::uint16_t> depth;
        // The steps found: position n steps to the positions numbered in
        // steps[first[n]] up to steps[first[n + 1]]. They make the count twice as fast and
        // take three times the memory: a space that may grow past kMostKeptSteps finds the
        // steps back into each position from its record instead.
        const bool keepSteps = limit <= kMostKeptSteps;
        std::vector<std::uint32_t> steps;
        std::vector<std::size_t> first;
        const PositionKey key = codec_.Encode(start);
        Add(key, HashKey(key));
        depth.push_back(0);
        std::vector<std::uint32_t> solved;
        // The steps of a position are found a few positions before they are added, and their
        // table slots fetched meanwhile: a slot that missed the cache then has that long to
        // arrive. Positions are added in the same order all the same.
        Ahead ahead[kAhead];
        std::size_t stepped = 0;  // positions whose steps are found
        for (std::size_t n = 0; n < size_; ++n) {
            for (; stepped < size_ && stepped < n + kAhead; ++stepped)
                Step(stepped, &ahead[stepped % kAhead]);
            const Ahead& found = ahead[n % kAhead];
            if (keepSteps) first.push_back(steps.size());
            if (found.solved) solved.push_back(static_cast<std::uint32_t>(n));
            for (int i = 0; i < found.count; ++i) {
                const std::size_t known = size_;
                const std::uint32_t to = Add(found.key[i], found.hash[i]);
                if (keepSteps) steps.push_back(to);
                if (size_ == known) continue;
                if (size_ > limit || depth[n] + 1 >= kNoWayOut) return false;
                depth.push_back(static_cast<std::uint16_t>(depth[n] + 1));
            }
        }
        if (keepSteps) first.push_back(steps.size());
        depth_ = std::make_unique<std::uint16_t[]>(size_);
        std::copy(depth.begin(), depth.end(), depth_.get());
        depth = {};
        solved_ = solved.size();
        if (!keepSteps) return MeasureDistances(std::move(solved), StepsInto());
        return MeasureDistances(std::move(solved), KeptStepsInto(first, steps));
    }

  private:
    using Packed = std::array<std::uint64_t, Words>;
    static constexpr std::size_t kBlock = std::size_t{1} << 20;
    static constexpr std::size_t kAhead = 8;
    static constexpr std::size_t kMostKeptSteps = std::size_t{1} << 24;

    // The positions one position steps to, each with its hash; none from a solved position,
    // where the game stops.
    struct Ahead {
        bool solved;
        int count;
        PositionKey key[4];
        std::uint64_t hash[4];
    };

    void Step(std::size_t n, Ahead* found) const {
        char slot[kSlotSize], next[kSlotSize];
        codec_.Decode(Key(n), slot);
        found->solved = IsSolved(slot);
        found->count = 0;
        if (found->solved) return;
        ForEachStep(slot, codec_.Width(), codec_.Height(), next, [&](int, int, int) {
            const PositionKey key = codec_.Encode(next);
            const std::uint64_t hash = HashKey(key);
            __builtin_prefetch(&table_[Home(hash & kTagMask, table_.size() - 1)]);
            found->key[found->count] = key;
            found->hash[found->count++] = hash;
        });
    }
    // A table entry: the upper half of the key's hash, then the position's number + 1 (0 marks
    // an empty slot). The hash bits spare most lookups the reading of a stored key, and growing
    // the table the reading of every key.
    static constexpr std::uint64_t kTagMask = 0xFFFFFFFF00000000ull;
    static constexpr std::uint64_t kNumberMask = 0xFFFFFFFFull;

    static std::size_t Home(std::uint64_t tag, std::size_t mask) { return (tag >> 32) & mask; }
    bool Holds(std::uint64_t entry, std::uint64_t tag, const Packed& packed) const {
        if ((entry & kTagMask) != tag) return false;
        const Packed& stored = At((entry & kNumberMask) - 1);
        for (int i = 0; i < Words; ++i)
            if (stored[i] != packed[i]) return false;
        return true;
    }

    static Packed Pack(const PositionKey& key) {
        Packed packed;
        std::copy_n(key.word, Words, packed.begin());
        return packed;
    }
    const Packed& At(std::size_t n) const { return blocks_[n / kBlock][n % kBlock]; }

    // The number of the position with this key (whose hash is `hash`), added unless it is known.
    std::uint32_t Add(const PositionKey& key, std::uint64_t hash) {
        if ((size_ + 1) * 10 > table_.size() * 7) Grow();
        const Packed packed = Pack(key);
        const std::uint64_t tag = hash & kTagMask;
        const std::size_t mask = table_.size() - 1;
        std::size_t slot = Home(tag, mask);
        for (; table_[slot] != 0; slot = (slot + 1) & mask)
            if (Holds(table_[slot], tag, packed))
                return static_cast<std::uint32_t>((table_[slot] & kNumberMask) - 1);
        // A new block is left unwritten: the pages of a small space's block are never touched.
        if (size_ % kBlock == 0) blocks_.push_back(std::unique_ptr<Packed[]>(new Packed[kBlock]));
        blocks_.back()[size_ % kBlock] = packed;
        table_[slot] = tag | ++size_;
        return static_cast<std::uint32_t>(size_ - 1);
    }

    void Grow() {
        std::vector<std::uint64_t> bigger(table_.size() * 2, 0);
        const std::size_t mask = bigger.size() - 1;
        for (std::uint64_t entry : table_) {
            if (entry == 0) continue;
            std::size_t slot = Home(entry & kTagMask, mask);
            while (bigger[slot] != 0) slot = (slot + 1) & mask;
            bigger[slot] = entry;
        }
        table_.swap(bigger);
    }

    // The positions that step into a position, from the steps the forward search kept, turned
    // around: into(n, visit) calls visit for each.
    auto KeptStepsInto(const std::vector<std::size_t>& first,
                       const std::vector<std::uint32_t>& steps) const {
        // The positions that step to position n are from[into[n]] up to from[into[n + 1]].
        std::vector<std::size_t> into(size_ + 1, 0);
        for (std::uint32_t to : steps) ++into[to + 1];
        for (std::size_t n = 0; n < size_; ++n) into[n + 1] += into[n];
        std::vector<std::uint32_t> from(steps.size());
        std::vector<std::size_t> at(into.begin(), into.end() - 1);
        for (std::size_t n = 0; n < size_; ++n)
            for (std::size_t i = first[n]; i < first[n + 1]; ++i)
                from[at[steps[i]]++] = static_cast<std::uint32_t>(n);
        return [into = std::move(into), from = std::move(from)](std::uint32_t n, auto&& visit) {
            for (std::size_t i = into[n]; i < into[n + 1]; ++i) visit(from[i]);
        };
    }

    // The same found from a position's record: the moves that lead to it, undone.
    auto StepsInto() const {
        return [this](std::uint32_t n, auto&& visit) {
            char slot[kSlotSize], before[kMostPredecessors][kSlotSize];
            codec_.Decode(Key(n), slot);
            const int count = Predecessors(slot, codec_.Width(), codec_.Height(), before);
            for (int i = 0; i < count; ++i)
                if (const auto found = Find(codec_.Encode(before[i])))
                    visit(static_cast<std::uint32_t>(*found));
        };
    }

    // A breadth-first search backward from the solved positions.
    template <typename Into>
    bool MeasureDistances(std::vector<std::uint32_t> queue, const Into& into) {
        distance_ = std::make_unique<std::uint16_t[]>(size_);
        std::fill_n(distance_.get(), size_, kNoWayOut);
        for (std::uint32_t n : queue) distance_[n] = 0;
        queue.reserve(size_);
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const std::uint32_t n = queue[head];
            const int next = distance_[n] + 1;
            if (next >= kNoWayOut) return false;
            into(n, [&](std::uint32_t before) {
                if (distance_[before] != kNoWayOut) return;
                distance_[before] = static_cast<std::uint16_t>(next);
                queue.push_back(before);
                largest_ = std::max(largest_, next);
            });
        }
        dead_ = size_ - queue.size();
        return true;
    }

    std::vector<std::unique_ptr<Packed[]>> blocks_;
    std::vector<std::uint64_t> table_;  // hash tag and position number + 1, 0 for an empty slot
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
