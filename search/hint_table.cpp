#include "search/hint_table.h"

#include <algorithm>

#include "engine/board_record.h"
#include "engine/game_state.h"
#include "engine/move_rules.h"
#include "search/pusher_steps.h"

namespace {

// A step by side, as the table keeps it: north, south, east, west; then the two ends of a way.
constexpr std::uint32_t kNoWayOut = 4;
constexpr std::uint32_t kSolved = 5;
constexpr int kCodeBits = 3;

}  // namespace

std::optional<std::vector<std::uint8_t>> HintTable::Build(const Space& space) {
    const BoardCodec& codec = space.Codec();
    const int width = codec.Width(), height = codec.Height();
    std::vector<PositionKey> keys(space.Size());
    std::vector<std::uint32_t> codes(space.Size());
    char slot[kSlotSize], next[kSlotSize];
    for (std::size_t n = 0; n < space.Size(); ++n) {
        keys[n] = space.Key(n);
        const std::uint16_t distance = space.Distance(n);
        if (distance == Space::kNoWayOut || distance == 0) {
            codes[n] = distance == 0 ? kSolved : kNoWayOut;
            continue;
        }
        space.Record(n, slot);
        codes[n] = kNoWayOut;  // until the first step nearer to solved
        ForEachStep(slot, width, height, next, [&](int side, int, int) {
            if (codes[n] != kNoWayOut) return;
            const auto reached = space.Find(codec.Encode(next));
            if (reached && space.Distance(*reached) + 1 == distance) codes[n] = side;
        });
    }
    return PositionTable::Build(keys, codes, kCodeBits);
}

std::optional<HintTable> HintTable::Load(const BoardCodec& codec, const std::uint8_t* bytes,
                                         std::size_t size) {
    auto table = PositionTable::Load(bytes, size);
    if (!table) return std::nullopt;
    return HintTable(codec, std::move(*table));
}

std::optional<HintAnswer> HintTable::Ask(const char* record, std::vector<HintCell>* way) const {
    const int width = codec_.Width(), height = codec_.Height();
    const int s = SuffixIndex(width, height);
    HintAnswer answer;
    char here[kSlotSize], next[kSlotSize];
    CopyRecord(record, here);
    // No way in the game is longer than the positions a table can hold.
    for (std::size_t steps = 0; steps <= table_.Size(); ++steps) {
        const std::uint32_t code = table_.At(codec_.Encode(here));
        if (code == kSolved) {
            answer.wayOut = true;
            return answer;
        }
        if (code == kNoWayOut) {
            if (steps == 0) return answer;
            return std::nullopt;
        }
        const int x = Digit(here[s]) + kPusherSteps[code][0],
                  y = Digit(here[s + 1]) + kPusherSteps[code][1];
        if (steps == 0) {
            answer.moveX = x;
            answer.moveY = y;
        }
        if (way) way->push_back({x, y});
        if (x < 0 || y < 0 || x >= width || y >= height ||
            StepBoard(here, width, height, x, y, next) != StepMoved)
            return std::nullopt;
        std::copy_n(next, kSlotSize, here);
        ++answer.distance;
    }
    return std::nullopt;
}

bool HintTable::WayOut(const char* record) const {
    return table_.At(codec_.Encode(record)) != kNoWayOut;
}

std::optional<std::vector<std::uint8_t>> BuildBoundTable(const Space& relaxed) {
    std::vector<PositionKey> keys(relaxed.Size());
    std::vector<std::uint32_t> bounds(relaxed.Size());
    for (std::size_t n = 0; n < relaxed.Size(); ++n) {
        keys[n] = relaxed.Key(n);
        const std::uint16_t distance = relaxed.Distance(n);
        // A smaller bound is still a bound; only a dead end must stay exact.
        bounds[n] = distance == Space::kNoWayOut
                        ? kBoundNoWayOut
                        : std::min<std::uint32_t>(distance, kBoundNoWayOut - 1);
    }
    return PositionTable::Build(keys, bounds, 8);
}
