#include "ui/hints.h"

#include <cstring>
#include <memory>

#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "platform/crt/wsprintf.h"
#include "search/built_in_hints.h"
#include "search/hints.h"
#include "texts/texts.h"

namespace {

std::function<void(const HintReport&)> observer;
std::unique_ptr<PuzzleHints> hints;
const std::uint8_t* hintsData = nullptr;  // the built-in tables `hints` was made with

// The note and the moment it was given: it stands while the game is still there.
struct Note {
    bool standing = false;
    std::optional<int> undos;
    int currentIndex, lastIndex, moveCount, gameNumber;
    char start[kSlotSize];
} note;

// The hints of the puzzle in play, made anew when the puzzle changes, or when the built-in
// tables arrive (the web page fetches them after the game has started).
PuzzleHints* CurrentHints(const char* start) {
    const HintDataView data = BuiltInHints();
    if (!hints || std::strcmp(hints->Start(), start) != 0 || data.bytes != hintsData) {
        hints = PuzzleHints::For(start, data);
        hintsData = data.bytes;
    }
    return hints.get();
}

bool NoteStands(const char* start) {
    const GameState& g = gameState;
    return note.standing && g.mode == ModePlaying && note.currentIndex == g.currentIndex &&
           note.lastIndex == g.lastIndex && note.moveCount == g.moveCount &&
           note.gameNumber == g.gameNumber && std::strcmp(note.start, start) == 0;
}

}  // namespace

void SetHintObserver(std::function<void(const HintReport&)> newObserver) {
    observer = std::move(newObserver);
}

std::optional<HintReport> AskHint() {
    const GameState& g = gameState;
    if (g.introRunning || g.mode != ModePlaying || g.boardWidth < 1 || g.boardHeight < 1)
        return std::nullopt;
    char start[kSlotSize];
    int width = 0, height = 0;
    StartRecord(g.gameNumber, start, &width, &height);
    PuzzleHints* puzzle = CurrentHints(start);
    if (!puzzle) return std::nullopt;
    const HintAnswer answer = puzzle->Ask(g.history[g.currentIndex]);
    // A question too large for the memory a search may take (no built-in puzzle asks one) gets
    // no answer rather than a wrong one.
    if (!answer.known) return std::nullopt;
    HintReport report;
    report.wayOut = answer.wayOut;
    if (answer.wayOut) {
        // A solved position is never in play: the game leaves ModePlaying when it is reached.
        if (answer.distance == 0) return std::nullopt;
        report.distance = answer.distance;
        report.x = answer.moveX;
        report.y = answer.moveY;
    } else {
        const UndoCount count = puzzle->UndosToWayOut(g.history, g.currentIndex);
        if (!count.known) return std::nullopt;
        report.undos = count.undos;
        note = {true, report.undos, g.currentIndex, g.lastIndex, g.moveCount, g.gameNumber, {}};
        std::strcpy(note.start, start);
    }
    if (observer) observer(report);
    return report;
}

const wchar_t* NoWayOutNote() {
    if (!note.standing) return nullptr;
    char start[kSlotSize];
    int width = 0, height = 0;
    StartRecord(gameState.gameNumber, start, &width, &height);
    if (!NoteStands(start)) {
        note.standing = false;
        return nullptr;
    }
    static wchar_t text[64];
    if (!note.undos)
        wsprintfW(text, GetText(TextNoWayOutAtAll, gameState.language), gameState.currentIndex);
    else if (*note.undos == 1)
        wsprintfW(text, L"%s", GetText(TextNoWayOutOne, gameState.language));
    else
        wsprintfW(text, GetText(TextNoWayOut, gameState.language), *note.undos);
    return text;
}

void ForgetNoWayOut() {
    note.standing = false;
}
