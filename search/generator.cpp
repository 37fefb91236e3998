#include "search/generator.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <thread>

#include "engine/board_record.h"
#include "engine/catalogue.h"
#include "engine/move_rules.h"
#include "search/idle_boxes.h"
#include "search/pusher_steps.h"
#include "search/random_board.h"
#include "search/space.h"
#include "search/symmetry.h"

namespace {

// Counting a space of more positions than this takes about a second: a change that makes
// one is passed over while climbing. A puzzle found is counted once more from its own start,
// whose space is smaller.
constexpr std::size_t kMostPositions = 600'000;
// Positions this near the farthest one are looked at for a start.
constexpr int kNearFarthest = 24;
// Changes tried in a row without a longer puzzle before a climb ends.
constexpr int kPatience = 100;
// Random boards drawn for the first step of a climb before it gives up.
constexpr int kFirstBoards = 1000;
// Climbs from one random board: the first, and those after boxes no shortest solution moves
// are taken away.
constexpr int kRounds = 3;
// At least one position in this many that a puzzle reaches has no way out any more.
constexpr std::size_t kDeadShare = 5;

struct Start {
    std::string text;  // the catalogue's form
    int moves;
};

// Whether a shortest solution from position n may begin with a walk onto an empty cell: then
// the puzzle would open with moves that only bring the pusher where it must start.
bool OpensWithWalk(const Space& space, std::size_t n, const char* record) {
    const int width = space.Codec().Width(), height = space.Codec().Height();
    char next[kSlotSize];
    bool walk = false;
    ForEachStep(record, width, height, next, [&](int, int x, int y) {
        if (record[CellIndex(width, x, y)] != '-') return;
        const auto reached = space.Find(next);
        walk = walk || (reached && space.Distance(*reached) + 1 == space.Distance(n));
    });
    return walk;
}

// The farthest start of a counted space that lies at least `least` moves from solved: the pusher
// on an empty cell and no walk first. Nothing when there is none.
std::optional<Start> FarthestStart(const Space& space, int least) {
    least = std::max(least, space.Largest() - kNearFarthest);
    std::vector<std::pair<int, std::size_t>> far;  // minus the distance, the position
    for (std::size_t n = 0; n < space.Size(); ++n) {
        const int distance = space.Distance(n);
        if (distance != Space::kNoWayOut && distance >= least) far.push_back({-distance, n});
    }
    std::sort(far.begin(), far.end());
    const int width = space.Codec().Width(), height = space.Codec().Height();
    const int s = SuffixIndex(width, height);
    char record[kSlotSize];
    for (const auto& [minus, n] : far) {
        space.Record(n, record);
        if (record[CellIndex(width, Digit(record[s]), Digit(record[s + 1]))] != 'M') continue;
        if (OpensWithWalk(space, n, record)) continue;
        return Start{std::string(record, s - 1), -minus};
    }
    return std::nullopt;
}

std::unique_ptr<Space> Count(const std::string& record) {
    return Space::Explore(record.c_str(), kMostPositions);
}

// The farthest start of a random board; nothing when no board drawn has one.
std::optional<Start> FirstStart(RandomSource& random, int width, int height) {
    for (int boards = 0; boards < kFirstBoards; ++boards) {
        const auto space = Count(PuzzleBoard::Draw(random, width, height).Record());
        if (!space) continue;
        if (auto start = FarthestStart(*space, 1)) return start;
    }
    return std::nullopt;
}

// A climb toward longer puzzles: random changes to the boxes are kept whenever they take the
// farthest start no nearer to solved, until a long run of them brings it no farther.
Start Climb(RandomSource& random, Start current) {
    for (int tried = 0; tried < kPatience; ++tried) {
        auto board = *PuzzleBoard::Read(current.text);
        // One change or two at once, so that a change that needs another to pay can be made.
        for (int changes = 1 + random.Below(2); changes > 0;)
            changes -= board.Change(random) ? 1 : 0;
        const auto space = Count(board.Record());
        if (!space || space->Largest() < current.moves) continue;
        auto next = FarthestStart(*space, current.moves);
        if (!next) continue;
        if (next->moves > current.moves) tried = -1;
        current = std::move(*next);
    }
    return current;
}

// A puzzle from one climb, or nothing. A climb's puzzle with boxes no shortest solution moves
// loses them and climbs again from there, a few times at most.
std::optional<GeneratedPuzzle> ClimbToPuzzle(RandomSource& random, int width, int height) {
    auto start = FirstStart(random, width, height);
    for (int round = 0; start && round < kRounds; ++round) {
        *start = Climb(random, std::move(*start));
        auto board = *PuzzleBoard::Read(start->text);
        // The start's own space lies within the space it was found in: within the limit.
        const auto own = Count(board.Record());
        if (!own || own->Distance(0) != start->moves) return std::nullopt;
        const auto idle = IdleBoxes(*own);
        if (idle.empty()) {
            // A puzzle where no step can ever be wrong is a walk, however long.
            if (own->Dead() * kDeadShare < own->Size()) return std::nullopt;
            return GeneratedPuzzle{start->text, start->moves, own->Size(), own->Dead()};
        }
        for (const StartBox& box : idle)
            if (!board.Remove(box.x, box.y, box.big)) return std::nullopt;  // the blue box
        const auto space = Count(board.Record());
        start = space ? FarthestStart(*space, 1) : std::nullopt;
    }
    return std::nullopt;
}

// The seed of climb number `climb`: the seed and the number mixed so that neighbouring ones
// share nothing.
std::uint64_t ClimbSeed(std::uint64_t seed, std::size_t climb) {
    RandomSource mixer(seed ^ (static_cast<std::uint64_t>(climb) * 0xD1B54A32D192ED03ull));
    return mixer.Next();
}

}  // namespace

bool GeneratorTakesSize(int width, int height) {
    return RecordFits(width, height) && width * height >= 3;
}

GeneratorResult GeneratePuzzles(
    const GeneratorOptions& options,
    const std::function<void(std::size_t climbs, std::size_t found)>& progress) {
    GeneratorResult result;
    if (!GeneratorTakesSize(options.width, options.height) || options.count < 1) return result;
    std::set<std::string> known;  // the canonical texts of every puzzle so far, built-in ones too
    for (const char* text : kPuzzleTexts) known.insert(CanonicalPuzzle(text));

    // Every climb draws from a random source of its own, seeded from the seed and its number,
    // so climbs run side by side and their puzzles are taken in the order of their numbers:
    // the same puzzles however many processors there are.
    const std::size_t side = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::optional<GeneratedPuzzle>> batch(side);
    while (static_cast<int>(result.puzzles.size()) < options.count &&
           result.climbs < options.mostClimbs) {
        const std::size_t first = result.climbs;
        const std::size_t climbs = std::min(side, options.mostClimbs - first);
        std::vector<std::thread> running;
        for (std::size_t i = 0; i < climbs; ++i)
            running.emplace_back([&, i] {
                RandomSource random(ClimbSeed(options.seed, first + i));
                batch[i] = ClimbToPuzzle(random, options.width, options.height);
            });
        for (std::thread& climb : running) climb.join();
        for (std::size_t i = 0; i < climbs; ++i) {
            if (static_cast<int>(result.puzzles.size()) == options.count) break;
            ++result.climbs;
            auto& puzzle = batch[i];
            if (puzzle && puzzle->moves >= options.minMoves &&
                known.insert(CanonicalPuzzle(puzzle->text)).second)
                result.puzzles.push_back(std::move(*puzzle));
            if (progress) progress(result.climbs, result.puzzles.size());
        }
    }
    std::stable_sort(
        result.puzzles.begin(), result.puzzles.end(),
        [](const GeneratedPuzzle& a, const GeneratedPuzzle& b) { return a.moves < b.moves; });
    return result;
}
