#include "search/hint_search.h"

#include <algorithm>
#include <cstring>

#include "engine/board_record.h"
#include "engine/game_state.h"
#include "engine/move_rules.h"
#include "search/dead_ends.h"
#include "search/pusher_steps.h"

namespace {

constexpr std::uint32_t kNoParent = UINT32_MAX;
// The memory a question may take: the positions one search may meet (about 30 bytes each; the
// hardest questions of the built-in puzzles meet about a million), and those proved to have no
// way out that are kept for the next questions (about 22 bytes each).
constexpr std::size_t kMostSearched = 2'000'000;
constexpr std::size_t kMostKeptDead = std::size_t{1} << 19;

}  // namespace

HintSearch::HintSearch(const BoardCodec& codec, LowerBound bound)
    : codec_(codec), bound_(std::move(bound)), positions_(codec.Words()), dead_(codec.Words()) {}

HintAnswer HintSearch::Ask(const char* record) {
    examined_ = 0;
    const PositionKey key = codec_.Encode(record);
    if (auto answer = OnPath(key)) return *answer;
    if (dead_.Contains(key)) return {};
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
    dead_.Clear();
    path_.clear();
}

HintAnswer HintSearch::Search(const char* record) {
    const int width = codec_.Width(), height = codec_.Height();
    positions_.Clear();
    nodes_.clear();
    for (auto& bucket : open_) bucket.clear();
    auto push = [this](std::uint32_t n) {
        const std::size_t f = nodes_[n].steps + static_cast<std::size_t>(nodes_[n].bound);
        if (open_.size() <= f) open_.resize(f + 1);
        open_[f].push_back(n);
    };
    // A bound past a byte is cut to one: a smaller bound is still a bound.
    auto add = [&](std::uint32_t* slot, const PositionKey& key, std::uint64_t hash,
                   std::uint32_t parent, int steps, int bound) {
        positions_.Add(slot, key, hash);
        nodes_.push_back({parent, static_cast<std::uint16_t>(steps),
                          static_cast<std::uint8_t>(std::min(bound, 255)), false});
        push(static_cast<std::uint32_t>(nodes_.size() - 1));
    };

    const PositionKey rootKey = codec_.Encode(record);
    const std::uint64_t rootHash = HashKey(rootKey);
    const int rootBound = bound_ ? bound_(record) : 0;
    add(positions_.Slot(rootKey, rootHash), rootKey, rootHash, kNoParent, 0,
        std::max(rootBound, 0));
    if (rootBound < 0 || ProvedNoWayOut(record, width, height)) {
        RememberDead();
        return {};
    }

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
            codec_.Decode(positions_.At(n), slot);
            if (IsSolved(slot)) {
                RememberPath(n);
                return *OnPath(rootKey);
            }
            const int px = Digit(slot[s]), py = Digit(slot[s + 1]);
            const int steps = nodes_[n].steps + 1;
            for (const auto& step : kPusherSteps) {
                const int x = px + step[0], y = py + step[1];
                if (x < 0 || y < 0 || x >= width || y >= height) continue;
                if (StepBoard(slot, width, height, x, y, next) != StepMoved) continue;
                const PositionKey key = codec_.Encode(next);
                const std::uint64_t hash = HashKey(key);
                std::uint32_t* found = positions_.Slot(key, hash);
                if (*found != 0) {
                    const std::uint32_t m = KeySet::NumberIn(*found);
                    if (nodes_[m].closed || nodes_[m].steps <= steps) continue;
                    nodes_[m].steps = static_cast<std::uint16_t>(steps);
                    nodes_[m].parent = n;
                    push(m);
                    continue;
                }
                if (ShutOut(next, width, height) || dead_.Contains(key)) continue;
                if (positions_.Size() == kMostSearched) return Unanswered();
                const int bound = bound_ ? bound_(next) : 0;
                if (bound < 0) continue;
                add(found, key, hash, n, steps, bound);
            }
        }
    }
    // Every position the search met is reachable from this one, and none leads to a solved one.
    RememberDead();
    return {};
}

HintAnswer HintSearch::Unanswered() {
    positions_ = KeySet(codec_.Words());
    std::vector<Node>().swap(nodes_);
    HintAnswer answer;
    answer.known = false;
    return answer;
}

void HintSearch::RememberDead() {
    if (positions_.Size() > kMostKeptDead) return;
    // Most often nothing is known yet: the search's own set becomes the dead ends', whole.
    if (dead_.Size() == 0 || dead_.Size() + positions_.Size() > kMostKeptDead) {
        dead_.Swap(positions_);
        positions_.Clear();
        return;
    }
    for (std::size_t n = 0; n < positions_.Size(); ++n) {
        const PositionKey key = positions_.At(n);
        const std::uint64_t hash = HashKey(key);
        std::uint32_t* slot = dead_.Slot(key, hash);
        if (*slot == 0) dead_.Add(slot, key, hash);
    }
}

void HintSearch::RememberPath(std::uint32_t solved) {
    path_.clear();
    for (std::uint32_t n = solved; n != kNoParent; n = nodes_[n].parent)
        path_.push_back(positions_.At(n));
    std::reverse(path_.begin(), path_.end());
}
