#include "search/hint_search.h"

#include <algorithm>
#include <cstring>

#include "engine/board_record.h"
#include "engine/game_state.h"
#include "engine/move_rules.h"
#include "search/dead_ends.h"

namespace {

constexpr int kSteps[4][2] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}};
constexpr std::uint32_t kNoParent = UINT32_MAX;
// Proved dead ends kept between questions: enough for every dead region a puzzle of the game
// holds, and forgotten all at once beyond it.
constexpr std::size_t kMostKeptDead = std::size_t{1} << 22;

// A table slot: the upper half of the key's hash beside the key's number + 1 (0: empty). The
// half-hash spares most comparisons of whole keys.
std::uint64_t Entry(std::uint64_t hash, std::uint32_t number) {
    return (hash & 0xFFFFFFFF00000000ull) | (number + 1u);
}
std::uint32_t NumberOf(std::uint64_t entry) {
    return static_cast<std::uint32_t>(entry) - 1;
}

// Finds `key` in an open-addressed table of the numbers of keys kept in a list (`keyOf` gives
// each), growing it when it is two thirds full; returns the slot holding the key's entry, or the
// empty slot for it, which Entry(hash, number) fills.
template <typename KeyOf>
std::uint64_t* FindSlot(std::vector<std::uint64_t>& table, std::size_t count,
                        const PositionKey& key, std::uint64_t hash, KeyOf keyOf) {
    if (table.empty() || (count + 1) * 3 > table.size() * 2) {
        std::vector<std::uint64_t> bigger(std::max<std::size_t>(table.size() * 2, 1 << 14), 0);
        const std::size_t mask = bigger.size() - 1;
        for (std::uint64_t entry : table) {
            if (entry == 0) continue;
            std::size_t slot = (entry >> 32) & mask;
            while (bigger[slot] != 0) slot = (slot + 1) & mask;
            bigger[slot] = entry;
        }
        table.swap(bigger);
    }
    const std::size_t mask = table.size() - 1;
    const std::uint64_t tag = hash & 0xFFFFFFFF00000000ull;
    std::size_t slot = (hash >> 32) & mask;
    for (; table[slot] != 0; slot = (slot + 1) & mask)
        if ((table[slot] & 0xFFFFFFFF00000000ull) == tag && keyOf(NumberOf(table[slot])) == key)
            break;
    return &table[slot];
}

}  // namespace

HintSearch::HintSearch(const BoardCodec& codec, LowerBound bound)
    : codec_(codec), bound_(std::move(bound)) {}

HintAnswer HintSearch::Ask(const char* record) {
    examined_ = 0;
    const PositionKey key = codec_.Encode(record);
    if (auto answer = OnPath(key)) return *answer;
    if (KnownDead(key)) return {};
    return Search(record);
}

// The rest of the last way found is a shortest way from any position on it.
std::optional<HintAnswer> HintSearch::OnPath(const PositionKey& key) const {
    for (std::size_t i = 0; i < path_.size(); ++i) {
        if (!(path_[i] == key)) continue;
        HintAnswer answer;
        answer.wayOut = true;
        answer.distance = static_cast<int>(path_.size() - 1 - i);
        if (answer.distance > 0) {
            char next[kSlotSize];
            codec_.Decode(path_[i + 1], next);
            const int s = SuffixIndex(codec_.Width(), codec_.Height());
            answer.moveX = Digit(next[s]);
            answer.moveY = Digit(next[s + 1]);
        }
        return answer;
    }
    return std::nullopt;
}

void HintSearch::Forget() {
    dead_.clear();
    deadTable_.clear();
    path_.clear();
}

bool HintSearch::KnownDead(const PositionKey& key) {
    if (dead_.empty()) return false;
    return *FindSlot(deadTable_, dead_.size(), key, HashKey(key),
                     [this](std::uint32_t n) -> const PositionKey& { return dead_[n]; }) != 0;
}

HintAnswer HintSearch::Search(const char* record) {
    const int width = codec_.Width(), height = codec_.Height();
    nodes_.clear();
    std::fill(table_.begin(), table_.end(), 0);
    for (auto& bucket : open_) bucket.clear();

    const int rootBound = bound_ ? bound_(record) : 0;
    if (rootBound < 0 || ProvedNoWayOut(record, width, height)) {
        nodes_.push_back({codec_.Encode(record), kNoParent, 0, 0, false});
        RememberDead();
        return {};
    }
    auto keyOf = [this](std::uint32_t n) -> const PositionKey& { return nodes_[n].key; };
    auto push = [this](std::uint32_t n) {
        const std::size_t f = nodes_[n].steps + static_cast<std::size_t>(nodes_[n].bound);
        if (open_.size() <= f) open_.resize(f + 1);
        open_[f].push_back(n);
    };
    const PositionKey rootKey = codec_.Encode(record);
    const std::uint64_t rootHash = HashKey(rootKey);
    *FindSlot(table_, 0, rootKey, rootHash, keyOf) = Entry(rootHash, 0);
    nodes_.push_back({rootKey, kNoParent, 0, static_cast<std::int16_t>(rootBound), false});
    push(0);

    char slot[kSlotSize], next[kSlotSize];
    const int s = SuffixIndex(width, height);
    for (std::size_t f = 0; f < open_.size(); ++f) {
        // The bucket may grow while it is read: a step can keep steps + bound the same.
        for (std::size_t i = 0; i < open_[f].size(); ++i) {
            const std::uint32_t n = open_[f][i];
            if (nodes_[n].closed || nodes_[n].steps + nodes_[n].bound != static_cast<int>(f))
                continue;
            nodes_[n].closed = true;
            ++examined_;
            codec_.Decode(nodes_[n].key, slot);
            if (IsSolved(slot)) {
                RememberPath(n);
                return *OnPath(nodes_[0].key);
            }
            const int px = Digit(slot[s]), py = Digit(slot[s + 1]);
            for (const auto& step : kSteps) {
                const int x = px + step[0], y = py + step[1];
                if (x < 0 || y < 0 || x >= width || y >= height) continue;
                if (StepBoard(slot, width, height, x, y, next) != StepMoved) continue;
                const PositionKey key = codec_.Encode(next);
                const std::uint64_t hash = HashKey(key);
                const std::uint16_t steps = static_cast<std::uint16_t>(nodes_[n].steps + 1);
                std::uint64_t* found = FindSlot(table_, nodes_.size(), key, hash, keyOf);
                if (*found != 0) {
                    Node& known = nodes_[NumberOf(*found)];
                    if (known.closed || known.steps <= steps) continue;
                    known.steps = steps;
                    known.parent = n;
                    push(NumberOf(*found));
                    continue;
                }
                if (KnownDead(key) || ShutOut(next, width, height)) continue;
                const int bound = bound_ ? bound_(next) : 0;
                if (bound < 0) continue;
                *found = Entry(hash, static_cast<std::uint32_t>(nodes_.size()));
                nodes_.push_back({key, n, steps, static_cast<std::int16_t>(bound), false});
                push(static_cast<std::uint32_t>(nodes_.size() - 1));
            }
        }
    }
    // Every position the search met is reachable from this one, and none leads to a solved one.
    RememberDead();
    return {};
}

void HintSearch::RememberDead() {
    if (dead_.size() + nodes_.size() > kMostKeptDead) {
        dead_.clear();
        deadTable_.clear();
    }
    auto keyOf = [this](std::uint32_t n) -> const PositionKey& { return dead_[n]; };
    for (const Node& node : nodes_) {
        const std::uint64_t hash = HashKey(node.key);
        std::uint64_t* slot = FindSlot(deadTable_, dead_.size(), node.key, hash, keyOf);
        if (*slot != 0) continue;
        *slot = Entry(hash, static_cast<std::uint32_t>(dead_.size()));
        dead_.push_back(node.key);
    }
}

void HintSearch::RememberPath(std::uint32_t solved) {
    path_.clear();
    for (std::uint32_t n = solved; n != kNoParent; n = nodes_[n].parent)
        path_.push_back(nodes_[n].key);
    std::reverse(path_.begin(), path_.end());
}
