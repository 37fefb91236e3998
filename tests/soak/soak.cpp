// The soak: a long run of pseudo-random events against the game on the headless backend. Each
// event is chosen for the situation the game is in at that moment (an answer only when a box is
// open, a click only when a dialog is), and after each one the game state, its current position
// and the hive file are checked. A failure prints the seed and the event number to replay it.
//
//   velquin_soak [--events N] [--seed S]
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "platform/afx/afx.h"
#include "platform/backend/script/script_backend.h"
#include "platform/registry/hive.h"
#include "platform/registry/registry.h"
#include "platform/user/backend.h"
#include "platform/user/dialog.h"
#include "platform/user/message_box.h"
#include "platform/user/window_api.h"
#include "resources/game_resources.h"
#include "tests/soak/record_check.h"
#include "ui/game_app.h"
#include "ui/intro_geometry.h"
#include "ui/main_frame.h"

namespace {

GameApp theApp;

// xorshift32: small, seedable, the same on every machine.
struct Random {
    std::uint32_t s;
    std::uint32_t Next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
};

enum Kind {
    KindTap,
    KindDoubleTap,
    KindScreenTap,
    KindKey,
    KindCommand,
    KindClose,
    KindWait,
    KindAnswer,
    KindClick,
    KindType,
    KindDialogOk,
    KindDialogCancel,
    KindCount
};
const char* const kKindNames[KindCount] = {"tap",   "dbltap", "screen-tap", "key",
                                           "command", "close", "wait",       "answer",
                                           "click", "type",   "ok",         "cancel"};

constexpr UINT kCommands[] = {kCmdExit,           kCmdAbout,       kCmdOptions, kCmdNextPuzzle,
                              kCmdLearnRules,     kCmdNextTool,    kCmdPreviousPuzzle,
                              kCmdPreviousTool,   kCmdExitSilent};
constexpr UINT kKeys[] = {37, 38, 39, 40, 37, 38, 39, 40, 13, 27, 65};
constexpr UINT kOptionControls[] = {1001, 1007, 1008, 1009, 1004};
constexpr UINT kRulesControls[] = {1010, 1011};

struct Soak {
    backend::ScriptBackend* script = nullptr;
    Random random{1};
    long target = 0;
    long done = 0;
    long kinds[KindCount] = {};
    long solved = 0, saves = 0, sessions = 0;
    std::string storePath;
    std::string lastStore;
    Kind lastKind = KindWait;
    bool lastAnswerOk = false;
    std::int32_t lastMoves = 0;
    std::int32_t lastMode = ModePlaying;
    bool failed = false;

    void Fail(const std::string& why) {
        std::fprintf(stderr, "soak: seed %u, event %ld (%s): %s\n", seed, done, kKindNames[lastKind],
                     why.c_str());
        failed = true;
    }
    std::uint32_t seed = 1;

    // Puts the next event and the check after it on the script's list.
    void Plan() {
        script->Do([this](std::string* error) {
            if (!Check()) {
                *error = "invariant broken";
                return false;
            }
            if (done >= target) return true;  // nothing more queued: every loop ends
            ++done;
            Generate();
            Plan();
            return true;
        });
    }

    void Count(Kind k) {
        lastKind = k;
        ++kinds[k];
    }

    void Generate() {
        lastAnswerOk = false;
        HWND box = user::GetOpenMessageBox();
        HWND dialog = user::GetOpenDialog();
        if (box) {
            int r = random.Below(10);
            if (r < 7) {
                lastAnswerOk = random.Below(2) == 0;
                // A box with only OK has no cancel button.
                if (!lastAnswerOk && !GetDlgItem(box, IDCANCEL)) lastAnswerOk = true;
                script->Answer(lastAnswerOk ? IDOK : IDCANCEL);
                Count(KindAnswer);
            } else if (r < 8) {
                script->Key(random.Below(2) ? 13 : 27);
                Count(KindKey);
            } else if (r < 9) {
                ScreenTapAnywhere();
            } else {
                WaitSome();
            }
            return;
        }
        if (dialog && IsWindowEnabled(dialog)) {
            const bool options = GetDlgItem(dialog, 1001) != nullptr;
            int r = random.Below(20);
            if (r < 8) {
                UINT id = options ? kOptionControls[random.Below(5)] : kRulesControls[random.Below(2)];
                script->Click(id);
                Count(KindClick);
            } else if (r < 10) {
                static const wchar_t* const kTexts[] = {L"", L"abc", L"Fran\u00e7ais", L"12345"};
                script->SetText(options ? 1004 : kRulesControls[random.Below(2)],
                                kTexts[random.Below(4)]);
                Count(KindType);
            } else if (r < 13) {
                script->DialogOk();
                Count(KindDialogOk);
            } else if (r < 15) {
                script->DialogCancel();
                Count(KindDialogCancel);
            } else if (r < 16) {
                script->Key(random.Below(2) ? 13 : 27);
                Count(KindKey);
            } else if (r < 18) {
                ScreenTapAnywhere();
            } else {
                WaitSome();
            }
            return;
        }
        int r = random.Below(100);
        if (r < 30) {
            // Mostly on the board and the three buttons under it, sometimes anywhere.
            script->Tap(random.Below(240), random.Below(random.Below(4) ? 268 : 400) - 20);
            Count(KindTap);
        } else if (r < 35) {
            script->DoubleTap(random.Below(240), random.Below(268));
            Count(KindDoubleTap);
        } else if (r < 60) {
            script->Key(kKeys[random.Below(static_cast<int>(std::size(kKeys)))]);
            Count(KindKey);
        } else if (r < 68) {
            script->Command(kCommands[random.Below(static_cast<int>(std::size(kCommands)))]);
            Count(KindCommand);
        } else if (r < 69) {
            script->Close();
            Count(KindClose);
        } else if (r < 80) {
            ScreenTapAnywhere();
        } else {
            WaitSome();
        }
    }

    void ScreenTapAnywhere() {
        // Half of them on the command bar, where the menu and the toolbar are.
        int y = random.Below(2) ? 294 + random.Below(26) : random.Below(320);
        script->ScreenTap(random.Below(240), y);
        Count(KindScreenTap);
    }

    void WaitSome() {
        static const DWORD kWaits[] = {0, 1, 59, 60, 61, 500, 1000, 4999, 5001, 12000};
        script->Wait(kWaits[random.Below(static_cast<int>(std::size(kWaits)))]);
        Count(KindWait);
    }

    // A drop of the move count is the game's own reset: a booked abandon (the abort box
    // answered with OK), a puzzle loaded afresh, or the tutorial's fixed count.
    bool MoveCountDropAllowed() const {
        const GameState& g = gameState;
        if (g.moveCount == 0 && (lastKind == KindAnswer || lastKind == KindKey) &&
            lastMode == ModePlaying)
            return true;
        if (g.moveCount == 0 && g.lastIndex == 0 && g.mode == ModePlaying) {
            char start[kSlotSize];
            int w = 0, h = 0;
            StartRecord(g.gameNumber, start, &w, &h);
            return std::memcmp(start, g.history[0], kSlotSize) == 0;
        }
        return g.mode == ModeTutorial && g.moveCount == kTutorialFrames - 1;
    }

    bool Check() {
        const GameState& g = gameState;
        if (g.currentIndex < 0 || g.currentIndex > g.lastIndex || g.lastIndex >= kHistorySlots) {
            Fail("history indices out of order: current " + std::to_string(g.currentIndex) +
                 ", last " + std::to_string(g.lastIndex));
            return false;
        }
        // Before the first puzzle is loaded (the intro) there is no position yet.
        const bool loaded = g.boardWidth != 0 || g.mode == ModeTutorial;
        if (loaded) {
            std::string why;
            if (!RecordWellFormed(g.history[g.currentIndex], &why)) {
                Fail("record " + std::to_string(g.currentIndex) + " \"" +
                     std::string(g.history[g.currentIndex]) + "\": " + why);
                return false;
            }
            if (g.mode != ModeTutorial && (Digit(g.history[g.currentIndex][0]) != g.boardWidth ||
                                           Digit(g.history[g.currentIndex][1]) != g.boardHeight)) {
                Fail("the board size differs from the record's");
                return false;
            }
        }
        if (g.moveCount < 0 || (g.moveCount < lastMoves && !MoveCountDropAllowed())) {
            Fail("move count fell from " + std::to_string(lastMoves) + " to " +
                 std::to_string(g.moveCount));
            return false;
        }
        if (g.mode == ModeSolved && lastMode != ModeSolved) ++solved;
        lastMoves = g.moveCount;
        lastMode = g.mode;
        return CheckStore();
    }

    bool CheckStore() {
        std::ifstream in(storePath, std::ios::binary);
        if (!in) return true;  // nothing saved yet
        std::string text((std::istreambuf_iterator<char>(in)), {});
        if (text == lastStore) return true;
        ++saves;
        lastStore = text;
        Hive hive;
        if (!ParseHive(text, &hive)) {
            Fail("the hive file does not parse after a save");
            return false;
        }
        bool found = false;
        for (const auto& key : hive.keys)
            if (key.Find(L"gamenumber")) found = true;
        if (!found) {
            Fail("the hive file lacks the game's key");
            return false;
        }
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    Soak soak;
    soak.target = 20000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--events") == 0)
            soak.target = std::strtol(argv[i + 1], nullptr, 10);
        else if (std::strcmp(argv[i], "--seed") == 0)
            soak.seed = static_cast<std::uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
    }
    if (soak.seed == 0) soak.seed = 1;  // xorshift stays at zero
    soak.random.s = soak.seed;

    char folder[] = "/tmp/velquin-soak-XXXXXX";
    if (!mkdtemp(folder)) {
        std::perror("soak: mkdtemp");
        return 2;
    }
    soak.storePath = std::string(folder) + "/registry.reg";
    SetRegistryFilePath(soak.storePath);
    RegisterGameResources();
    SeedRandom(soak.seed);

    auto started = std::chrono::steady_clock::now();
    backend::ScriptBackend script;
    soak.script = &script;
    // A close request that is granted ends the program; the device is switched on again.
    while (!soak.failed && soak.done < soak.target) {
        ++soak.sessions;
        soak.lastMoves = 0;
        soak.Plan();
        AfxWinMain(SW_SHOW);
        user::ResetInputEnded();
        if (!script.Error().empty()) break;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::printf("soak: seed %u, %ld events in %.1f s, %ld sessions, %ld puzzles solved, %ld saves\n",
                soak.seed, soak.done, seconds, soak.sessions, soak.solved, soak.saves);
    for (int k = 0; k < KindCount; ++k) std::printf("  %-10s %ld\n", kKindNames[k], soak.kinds[k]);
    std::remove(soak.storePath.c_str());
    std::string lock = soak.storePath + ".lock";
    std::remove(lock.c_str());
    rmdir(folder);
    if (soak.failed || !script.Error().empty()) {
        std::fprintf(stderr, "soak: failed (%s)\n", script.Error().c_str());
        return 1;
    }
    return 0;
}
