#include "engine/catalogue.h"

#include <cstring>

#include "engine/board_record.h"
#include "engine/game_state.h"
#include "engine/puzzle_pack.h"

const char* const kPuzzleTexts[16] = {
    "330121M--;n-W;---",
    "330211M-W;-N-;n--",
    "330121-S-;eMS;-N-",
    "442130--MS;-Xe-;-wX-;N---",
    "441102-S-M;-wnW;Sne-;--N-",
    "441301--M-;En-W;E-nW;En-W",
    "440220-WS-;SMwn;enNW;-Nn-",
    "550033s-E-X;-X---;---X-;--XE-;MX--W",
    "551202-----;EnX-X;Nw---;MXSXN;-----",
    "554043----s;EnNn-;-XXXM;-sSsW;n----",
    "554134---s-;-Xn-n;E--X-;-WX-S;E--NM",
    "422120--E-;-nnM",
    "524111---S-;-NWMn",
    "623121-Mw---;--NwN-",
    "622051--eE--;Ne--MN",
    "622131e---M-;N-eN--",
};

const char* const kTutorialRecords[kTutorialFrames] = {
    "332012s-w;-M-;-N-;11", "332012s-w;---;-N-;12", "332022s-w;---;--N;22",
    "332022s-w;--M;--N;21", "332022s-w;-M-;--N;11", "332022sMw;---;--N;10",
    "332022s-w;---;--N;20", "332122s--;--w;--N;21", "332222s--;---;--R;22",
};

const char kFallbackRecord[] = "330121M--;n-W;---;00";

namespace {
const PuzzlePack* playedPack = nullptr;
}  // namespace

void UsePuzzlePack(const PuzzlePack* pack) {
    playedPack = pack;
}

bool StartRecord(int gameNumber, char* slot, int* width, int* height) {
    const int number = PuzzleIndex(gameNumber);
    return CompleteRecord(playedPack ? playedPack->texts[number] : kPuzzleTexts[number], slot,
                          width, height);
}

bool CompleteRecord(const char* text, char* slot, int* width, int* height) {
    std::memset(slot, 0, kSlotSize);
    std::strncpy(slot, text, kSlotSize - 1);
    *width = Digit(slot[0]);
    *height = Digit(slot[1]);

    // A board whose record would not fit its slot gets the first puzzle instead (this covers
    // 6 by 6, whose record is one byte too long for a slot).
    if (!RecordFits(*width, *height)) {
        std::memcpy(slot, kFallbackRecord, sizeof kFallbackRecord);
        *width = 3;
        *height = 3;
        return false;
    }

    const int s = SuffixIndex(*width, *height);
    slot[s - 1] = ';';
    // The last column holding an 'M' wins, and within it the northernmost.
    for (int x = 0; x < *width; ++x) {
        for (int y = 0; y < *height; ++y) {
            if (slot[CellIndex(*width, x, y)] == 'M') {
                slot[s] = DigitChar(x);
                slot[s + 1] = DigitChar(y);
                break;
            }
        }
    }
    slot[s + 2] = '\0';
    return true;
}

void LoadLevel() {
    GameState& g = gameState;
    g.mode = ModePlaying;
    g.elapsedMs = 0;
    g.startTick = 0;
    g.lastTick = 0;
    g.clockStarted = false;
    int width = 0, height = 0;
    StartRecord(g.gameNumber, g.history[0], &width, &height);
    g.lastIndex = 0;
    g.currentIndex = 0;
    g.moveCount = 0;
    g.boardWidth = width;
    g.boardHeight = height;
}
