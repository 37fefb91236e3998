#include "search/hints.h"

#include <cstring>

#include "engine/board_record.h"
#include "engine/move_rules.h"
#include "search/position_table.h"
#include "search/relaxed_board.h"
#include "search/space.h"

namespace {

// The lighter game is counted whole when a puzzle comes with no bound worked out in advance (a pack
// the game does not ship), which takes about 40 bytes a position; a lighter game larger than this
// is left out, and the search goes on bounded by 0.
constexpr std::size_t kMostRelaxedPositions = 500'000;

// A bound read from the lighter game's distances: the projection of a position reachable from the
// start is always one of the lighter game's positions.
LowerBound BoundFrom(const RelaxedBoard& relaxed, const BoardCodec& codec,
                     std::shared_ptr<PositionTable> table) {
    return [relaxed, codec, table](const char* record) {
        char slot[kSlotSize];
        relaxed.Project(record, slot);
        const std::uint32_t bound = table->At(codec.Encode(slot));
        return bound == kBoundNoWayOut ? -1 : static_cast<int>(bound);
    };
}

LowerBound BoundFrom(const RelaxedBoard& relaxed, std::shared_ptr<Space> space) {
    return [relaxed, space](const char* record) {
        char slot[kSlotSize];
        relaxed.Project(record, slot);
        const auto n = space->Find(space->Codec().Encode(slot));
        if (!n || space->Distance(*n) == Space::kNoWayOut) return -1;
        return static_cast<int>(space->Distance(*n));
    };
}

}  // namespace

std::unique_ptr<PuzzleHints> PuzzleHints::For(const char* start, HintDataView data) {
    const auto codec = BoardCodec::For(start);
    if (!codec) return nullptr;
    std::unique_ptr<PuzzleHints> hints(new PuzzleHints(start, *codec));
    hints->data_ = data;
    return hints;
}

PuzzleHints::PuzzleHints(const char* start, const BoardCodec& codec) : codec_(codec) {
    std::strncpy(start_, start, kSlotSize - 1);
}

void PuzzleHints::Prepare() {
    if (prepared_) return;
    prepared_ = true;
    if (const auto bytes = FindHintData(data_, HintDataTable, start_)) {
        table_ = HintTable::Load(codec_, bytes->bytes, bytes->size);
        if (table_) return;
    }
    const RelaxedBoard relaxed(start_);
    char relaxedStart[kSlotSize];
    relaxed.Project(start_, relaxedStart);
    const auto relaxedCodec = BoardCodec::For(relaxedStart);
    LowerBound bound;
    if (const auto bytes = FindHintData(data_, HintDataBound, start_)) {
        auto table = PositionTable::Load(bytes->bytes, bytes->size);
        if (table && relaxedCodec)
            bound = BoundFrom(relaxed, *relaxedCodec,
                              std::make_shared<PositionTable>(std::move(*table)));
    }
    if (!bound) {
        std::shared_ptr<Space> space = Space::Explore(relaxedStart, kMostRelaxedPositions);
        if (space) bound = BoundFrom(relaxed, space);
    }
    search_ = std::make_unique<HintSearch>(codec_, bound);
}

void PuzzleHints::ForgetAnswers() {
    if (search_) search_->Forget();
}

HintAnswer PuzzleHints::Ask(const char* record) {
    Prepare();
    if (table_) {
        if (auto answer = table_->Ask(record)) return *answer;
    }
    if (!search_) search_ = std::make_unique<HintSearch>(codec_, LowerBound());
    return search_->Ask(record);
}

std::optional<std::vector<HintCell>> PuzzleHints::Way(const char* record, bool* known) {
    Prepare();
    *known = true;
    std::vector<HintCell> way;
    if (table_) {
        if (auto answer = table_->Ask(record, &way)) {
            if (!answer->wayOut) return std::nullopt;
            return way;
        }
        way.clear();
    }
    const int width = codec_.Width(), height = codec_.Height();
    char here[kSlotSize], next[kSlotSize];
    CopyRecord(record, here);
    for (;;) {
        const HintAnswer hint = Ask(here);
        *known = hint.known;
        if (!hint.known || !hint.wayOut) return std::nullopt;
        if (hint.distance == 0) return way;
        if (StepBoard(here, width, height, hint.moveX, hint.moveY, next) != StepMoved)
            return std::nullopt;
        way.push_back({hint.moveX, hint.moveY});
        std::memcpy(here, next, kSlotSize);
    }
}

// Whether a position has a way out; nothing when the search could not tell.
std::optional<bool> PuzzleHints::WayOut(const char* record) {
    Prepare();
    if (table_) return table_->WayOut(record);
    const HintAnswer answer = search_->Ask(record);
    if (!answer.known) return std::nullopt;
    return answer.wayOut;
}

UndoCount PuzzleHints::UndosToWayOut(const char (*slots)[kSlotSize], int current) {
    UndoCount count;
    auto wayOut = [&](int slot) {
        const auto known = WayOut(slots[slot]);
        count.known &= known.has_value();
        return known.value_or(false);
    };
    if (wayOut(current)) {
        count.undos = 0;
        return count;
    }
    if (!wayOut(0)) return count;
    // Whatever follows a position with no way out has none either: along the history the
    // positions with a way out come first, and the last of them is found by halving.
    int live = 0, dead = current;
    while (dead - live > 1) {
        const int middle = live + (dead - live) / 2;
        (wayOut(middle) ? live : dead) = middle;
    }
    count.undos = current - live;
    return count;
}
