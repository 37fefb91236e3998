// The soak: a long run of pseudo-random events against the game on the headless backend. Each
// event is chosen for the situation the game is in at that moment (an answer only when a box is
// open, a click only when a dialog is), and after each one the game state, its current position
// and the hive file are checked. A granted close ends the program; it is then started again, as
// a player would, on the same hive file. A failure prints the seed, the event number and the
// event; the same seed with that many events replays it.
//
//   velquin_soak [--events N] [--seed S] [--trace]
#include <dirent.h>
#include <fcntl.h>
#include <getopt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/game_state.h"
#include "platform/afx/afx.h"
#include "platform/backend/script/script_backend.h"
#include "platform/crt/parse_integer.h"
#include "platform/registry/hive.h"
#include "platform/registry/registry.h"
#include "platform/user/dialog.h"
#include "platform/user/menu.h"
#include "platform/user/message_box.h"
#include "platform/user/window_api.h"
#include "resources/game_resources.h"
#include "resources/resource_ids.h"
#include "tools/soak/record_check.h"
#include "ui/game_app.h"
#include "ui/intro_geometry.h"
#include "ui/main_frame.h"
#include "ui/screen_layout.h"

namespace {

GameApp theApp;

// The events' own random source, apart from the intro's: the same seed replays the same events
// on every machine.
struct Random {
    std::mt19937 engine;
    int Below(std::size_t n) { return static_cast<int>(engine() % static_cast<std::uint32_t>(n)); }
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
const char* const kKindNames[KindCount] = {"tap",     "dbltap", "screen-tap", "key",
                                           "command", "close",  "wait",       "answer",
                                           "click",   "type",   "ok",         "cancel"};

constexpr UINT kCommands[] = {kCmdAbout,    kCmdOptions,        kCmdNextPuzzle,  kCmdLearnRules,
                              kCmdNextTool, kCmdPreviousPuzzle, kCmdPreviousTool};
// The arrows, Return and Escape, and keys of the desktop's table: Undo, Redo, Restart, the
// puzzles, Learn rules, Options, About, full screen (no modifiers: the script's keys have none).
constexpr UINT kKeys[] = {VK_LEFT,  VK_UP,   VK_RIGHT,  VK_DOWN,   VK_LEFT,  VK_UP,
                          VK_RIGHT, VK_DOWN, VK_RETURN, VK_ESCAPE, VK_SPACE, 'A',
                          VK_BACK,  'U',     'R',       VK_HOME,   'N',      'P',
                          VK_PRIOR, VK_NEXT, VK_F1,     'O',       VK_F11};
constexpr UINT kOptionControls[] = {kIdEnglish, kIdFrench, kIdReset, kIdBest, kIdStats};
constexpr UINT kRulesControls[] = {kIdRulesText, kIdRulesTitle};
constexpr int kClientTop = 26, kClientBottom = 294;  // the main window's rows on the screen

const char* const kStoreName = "registry.reg";

// Read after every event, so read plainly: the sanitizer build's streams are slow.
bool ReadFile(const std::string& path, std::string* text) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    text->clear();
    char buffer[8192];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) text->append(buffer, static_cast<size_t>(n));
    close(fd);
    return n == 0;
}

// The game's key in a hive: the one that holds its puzzle number.
const HiveKey* GameKey(const Hive& hive) {
    for (const auto& key : hive.keys)
        if (key.Find(L"gamenumber")) return &key;
    return nullptr;
}

bool StoredDword(const HiveKey& key, const std::wstring& name, std::uint32_t* value) {
    const HiveValue* v = key.Find(name);
    if (!v || v->data.size() != 4) return false;
    std::memcpy(value, v->data.data(), 4);
    return true;
}

struct Soak {
    backend::ScriptBackend* script = nullptr;
    Random random;
    std::uint32_t seed = 1;
    long target = 0;
    bool trace = false;

    long done = 0;
    long kinds[KindCount] = {};
    long sessions = 0, moves = 0, undos = 0, redos = 0, solved = 0, saves = 0;
    std::string folder, storePath;
    std::string lastStore;
    bool storeSeen = false;
    bool failed = false;
    bool inputEnded = false;    // the events are all played, or one found nothing to act on
    HWND mainWindow = nullptr;  // the running program's main window

    // The last event and what the game showed before it.
    std::string lastEvent = "(start-up)";
    bool tapped = false;
    bool answeredBox = false;  // a box was open: the event went to it
    POINT tapPoint{};          // client coordinates of the main window
    std::int32_t lastMoves = 0, lastMode = ModePlaying, lastCurrent = 0;
    bool sessionStart = true;
    int walkLeft = 0;
    long historyFull = 0;      // events after which every slot of the history was in use
    std::int32_t deepest = 0;  // the highest last index seen
    bool positionSeen = false;

    void Fail(const std::string& why) {
        std::fprintf(stderr,
                     "soak: FAILED at event %ld of seed %u: %s\n"
                     "soak: the event: %s\n"
                     "soak: replay with: velquin_soak --seed %u --events %ld --trace\n",
                     done, seed, why.c_str(), lastEvent.c_str(), seed, done);
        failed = true;
    }

    // Puts the next check, and the event after it, on the script's list. A granted close ends
    // the loop before the check runs; the next run of the program then finds it there first.
    void Plan() {
        script->Do([this](std::string* error) {
            if (CWnd* main = AfxGetMainWnd()) mainWindow = main->m_hWnd;
            if (!Check()) {
                *error = "invariant broken";
                return false;
            }
            if (done >= target) return true;  // nothing more queued: every loop ends
            ++done;
            Generate();
            if (trace) std::printf("%ld %s\n", done, lastEvent.c_str());
            if (done % 100000 == 0) {
                std::printf("soak: %ld events, %ld restarts\n", done, sessions - 1);
                std::fflush(stdout);
            }
            Plan();
            return true;
        });
    }

    void Count(Kind k, std::string what) {
        lastEvent = std::move(what);
        ++kinds[k];
    }

    void Generate() {
        tapped = false;
        HWND box = user::GetOpenMessageBox();
        HWND dialog = user::GetOpenDialog();
        answeredBox = box != nullptr;
        if (box) {
            int r = random.Below(10);
            if (r < 7) {
                bool ok = random.Below(2) == 0;
                // A box with only OK has no cancel button.
                if (!ok && !GetDlgItem(box, IDCANCEL)) ok = true;
                script->Answer(ok ? IDOK : IDCANCEL);
                Count(KindAnswer, ok ? "answer ok" : "answer cancel");
            } else if (r < 8) {
                PressKey(random.Below(2) ? VK_RETURN : VK_ESCAPE);
            } else if (r < 9) {
                ScreenTapAnywhere();
            } else {
                WaitSome();
            }
            return;
        }
        if (dialog && IsWindowEnabled(dialog)) {
            const bool options = GetDlgItem(dialog, kIdEnglish) != nullptr;
            int r = random.Below(20);
            if (r < 8) {
                UINT id =
                    options ? kOptionControls[random.Below(5)] : kRulesControls[random.Below(2)];
                script->Click(id);
                Count(KindClick, "click " + std::to_string(id));
            } else if (r < 10) {
                static const wchar_t* const kTexts[] = {L"", L"abc", L"Fran\u00e7ais", L"12345"};
                static const char* const kTextNames[] = {"", "abc", "Fran\u00e7ais", "12345"};
                UINT id = options ? kIdStats : kRulesControls[random.Below(2)];
                int t = random.Below(4);
                script->SetText(id, kTexts[t]);
                Count(KindType, "type " + std::to_string(id) + " " + kTextNames[t]);
            } else if (r < 13) {
                script->DialogOk();
                Count(KindDialogOk, "ok");
            } else if (r < 15) {
                script->DialogCancel();
                Count(KindDialogCancel, "cancel");
            } else if (r < 16) {
                PressKey(random.Below(2) ? VK_RETURN : VK_ESCAPE);
            } else if (r < 18) {
                ScreenTapAnywhere();
            } else {
                WaitSome();
            }
            return;
        }
        // Now and then a long walk of arrow keys, so that the history fills up and moves on.
        if (walkLeft == 0 && random.Below(4000) == 0) walkLeft = 600 + random.Below(1000);
        if (walkLeft > 0) {
            --walkLeft;
            PressKey(VK_LEFT + random.Below(4));  // one of the four arrows
            return;
        }
        int r = random.Below(1000);
        if (r < 300) {
            // Mostly on the board and the three buttons under it, sometimes anywhere.
            int x = random.Below(240), y = random.Below(random.Below(4) ? 268 : 400) - 20;
            script->Tap(x, y);
            NoteTap(x, y);
            Count(KindTap, "tap " + std::to_string(x) + " " + std::to_string(y));
        } else if (r < 350) {
            int x = random.Below(240), y = random.Below(268);
            script->DoubleTap(x, y);
            NoteTap(x, y);
            Count(KindDoubleTap, "dbltap " + std::to_string(x) + " " + std::to_string(y));
        } else if (r < 620) {
            PressKey(kKeys[random.Below(static_cast<int>(std::size(kKeys)))]);
        } else if (r < 690) {
            // The two exit commands are one in twenty, like the close request below: a run of
            // the program lasts a few hundred events.
            UINT id = random.Below(20) == 0 ? (random.Below(2) ? kCmdExit : kCmdExitSilent)
                                            : kCommands[random.Below(std::size(kCommands))];
            script->Command(id);
            Count(KindCommand, "command " + std::to_string(id));
        } else if (r < 693) {
            script->Close();
            Count(KindClose, "close");
        } else if (r < 800) {
            ScreenTapAnywhere();
        } else {
            WaitSome();
        }
    }

    void NoteTap(int x, int y) {
        tapped = true;
        tapPoint = {x, y};
    }

    void PressKey(UINT key) {
        script->Key(key);
        Count(KindKey, "key " + std::to_string(key));
    }

    void ScreenTapAnywhere() {
        // Half of them on the command bar, where the menu and the toolbar are.
        int x = random.Below(240);
        int y = random.Below(2) ? 294 + random.Below(26) : random.Below(320);
        // One that lands in the main window, with nothing over it, is a tap on the game.
        if (y >= kClientTop && y < kClientBottom && !user::GetOpenMenuWindow())
            NoteTap(x, y - kClientTop);
        script->ScreenTap(x, y);
        Count(KindScreenTap, "screen-tap " + std::to_string(x) + " " + std::to_string(y));
    }

    void WaitSome() {
        // Around the clock's and the intro's periods mostly; one in ten past the intro's end or
        // a long pause. In play every tick of the clock repaints, so long waits cost the most.
        static const DWORD kWaits[] = {0, 1, 59, 60, 61, 99, 100, 101, 250, 500, 1000};
        static const DWORD kLongWaits[] = {4999, 5001, 12000};
        DWORD ms = random.Below(10) == 0 ? kLongWaits[random.Below(std::size(kLongWaits))]
                                         : kWaits[random.Below(std::size(kWaits))];
        script->Wait(ms);
        Count(KindWait, "wait " + std::to_string(ms));
    }

    bool TappedIn(const RECT& r) const { return tapped && PtInRect(&r, tapPoint); }

    // A drop of the move count is the game's own reset: a booked abandon (the abort box
    // answered with OK), a puzzle loaded afresh, or the tutorial's fixed count.
    bool MoveCountDropAllowed() const {
        const GameState& g = gameState;
        if (g.moveCount == 0 && answeredBox && lastMode == ModePlaying) return true;
        if (g.moveCount == 0 && g.lastIndex == 0 && g.mode == ModePlaying) {
            char start[kSlotSize];
            int w = 0, h = 0;
            StartRecord(g.gameNumber, start, &w, &h);
            return std::memcmp(start, g.history[0], kSlotSize) == 0;
        }
        return g.mode == ModeTutorial && g.moveCount == kTutorialFrames - 1;
    }

    // What the last event did to the history, for the figures: the undo and redo buttons step
    // through it, and any other rise of the count in play is a move.
    void Tally() {
        const GameState& g = gameState;
        if (TappedIn(undoRect) && g.currentIndex < lastCurrent) {
            undos += lastCurrent - g.currentIndex;
        } else if (TappedIn(redoRect) && g.currentIndex > lastCurrent) {
            redos += g.currentIndex - lastCurrent;
        } else if (g.moveCount > lastMoves && g.mode != ModeTutorial && lastMode != ModeTutorial) {
            moves += g.moveCount - lastMoves;
        }
        if (g.mode == ModeSolved && lastMode != ModeSolved) ++solved;
        if (g.lastIndex == kHistorySlots - 1) ++historyFull;
        if (g.lastIndex > deepest) deepest = g.lastIndex;
    }

    bool Check() {
        const GameState& g = gameState;
        if (g.currentIndex < 0 || g.currentIndex > g.lastIndex || g.lastIndex >= kHistorySlots) {
            Fail("history indices out of order: current " + std::to_string(g.currentIndex) +
                 ", last " + std::to_string(g.lastIndex));
            return false;
        }
        // Until the first puzzle is loaded the history is empty: during the intro, and after a
        // box or dialog opened from it ended the intro without starting a game. From then on
        // there is always a position.
        if (!positionSeen && g.lastIndex == 0 && g.history[0][0] == '\0') {
            if (g.moveCount != 0) {
                Fail("moves counted with no position");
                return false;
            }
        } else {
            positionSeen = true;
            std::string why;
            if (!RecordWellFormed(g.history[g.currentIndex], &why)) {
                Fail("record " + std::to_string(g.currentIndex) + " \"" +
                     std::string(g.history[g.currentIndex],
                                 strnlen(g.history[g.currentIndex], kSlotSize)) +
                     "\": " + why);
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
        if (!sessionStart) Tally();
        lastMoves = g.moveCount;
        lastMode = g.mode;
        lastCurrent = g.currentIndex;
        if (!CheckStore()) return false;
        sessionStart = false;
        return true;
    }

    bool CheckStore() {
        std::string text;
        if (!ReadFile(storePath, &text)) {
            if (!storeSeen) return true;  // nothing saved yet
            Fail("the hive file has gone");
            return false;
        }
        if (storeSeen && text == lastStore && !sessionStart) return true;
        if (!CheckFolder()) return false;
        if (text != lastStore) ++saves;
        storeSeen = true;
        lastStore = text;
        Hive hive;
        if (!ParseHive(text, &hive)) {
            Fail("the hive file does not parse");
            return false;
        }
        const HiveKey* key = GameKey(hive);
        if (!key) {
            Fail("the hive file lacks the game's key");
            return false;
        }
        return !sessionStart || CheckLoaded(*key);
    }

    // Only the hive and its lock live in the folder: no temporary file left by a save, no
    // damaged file put aside.
    bool CheckFolder() {
        DIR* dir = opendir(folder.c_str());
        if (!dir) {
            Fail("the store's folder has gone");
            return false;
        }
        std::string stray;
        while (dirent* e = readdir(dir)) {
            std::string name = e->d_name;
            if (name == "." || name == ".." || name == kStoreName ||
                name == std::string(kStoreName) + ".lock")
                continue;
            stray = name;
        }
        closedir(dir);
        if (stray.empty()) return true;
        Fail("a file beside the hive: " + stray);
        return false;
    }

    // A program just started holds what the hive file holds.
    bool CheckLoaded(const HiveKey& key) {
        const GameState& g = gameState;
        std::uint32_t v = 0;
        if (StoredDword(key, L"langue", &v) && static_cast<std::int32_t>(v) != g.language) {
            Fail("the language read at start-up is not the stored one");
            return false;
        }
        if (StoredDword(key, L"gamenumber", &v) && static_cast<std::int32_t>(v) != g.gameNumber &&
            v < static_cast<std::uint32_t>(kPuzzleCount)) {
            Fail("the puzzle read at start-up is not the stored one");
            return false;
        }
        for (int i = 0; i < kPuzzleCount; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "totalscore%02d", i);
            std::wstring wide(name, name + std::strlen(name));
            if (StoredDword(key, wide, &v) && static_cast<std::int32_t>(v) != g.totalScore[i]) {
                Fail(std::string("the statistics read at start-up differ from the stored ") + name);
                return false;
            }
        }
        return true;
    }

    // The program started afresh: nothing of the last run is left in its memory.
    void StartSession() {
        ++sessions;
        gameState = GameState{};
        SeedRandom(seed + static_cast<std::uint32_t>(sessions));
        lastMoves = 0;
        lastMode = ModePlaying;
        lastCurrent = 0;
        tapped = false;
        walkLeft = 0;
        answeredBox = false;
        sessionStart = true;
        positionSeen = false;
    }

    void RemoveFolder() {
        if (DIR* dir = opendir(folder.c_str())) {
            while (dirent* e = readdir(dir)) {
                std::string name = e->d_name;
                if (name != "." && name != "..") std::remove((folder + "/" + name).c_str());
            }
            closedir(dir);
        }
        rmdir(folder.c_str());
    }
};

int Usage() {
    std::fputs("usage: velquin_soak [--events N] [--seed S] [--trace]\n", stderr);
    return 2;
}

bool ParseNumber(const char* text, unsigned long max, unsigned long* value) {
    return ParseInteger<unsigned long>(text, 0, max, value);
}

}  // namespace

int main(int argc, char** argv) {
    Soak soak;
    soak.target = 20000;
    static const option kOptions[] = {
        {"events", required_argument, nullptr, 'e'},
        {"seed", required_argument, nullptr, 's'},
        {"trace", no_argument, nullptr, 't'},
        {nullptr, 0, nullptr, 0},
    };
    opterr = 0;
    for (int c; (c = getopt_long(argc, argv, "+", kOptions, nullptr)) != -1;) {
        unsigned long v = 0;
        if (c == 't')
            soak.trace = true;
        else if (c == 'e' && ParseNumber(optarg, 1000000000ul, &v))
            soak.target = static_cast<long>(v);
        else if (c == 's' && ParseNumber(optarg, 0xFFFFFFFFul, &v))
            soak.seed = static_cast<std::uint32_t>(v);
        else
            return Usage();
    }
    if (optind != argc) return Usage();
    soak.random.engine.seed(soak.seed);

    // Every save is flushed to its disk: in memory, when there is a memory file system, the
    // run waits on none of them.
    std::string base = "/tmp";
    if (const char* t = std::getenv("TMPDIR"); t && *t)
        base = t;
    else if (access("/dev/shm", W_OK) == 0)
        base = "/dev/shm";
    std::string pattern = base + "/velquin-soak-XXXXXX";
    std::vector<char> folder(pattern.begin(), pattern.end());
    folder.push_back('\0');
    if (!mkdtemp(folder.data())) {
        std::perror("soak: mkdtemp");
        return 2;
    }
    soak.folder = folder.data();
    soak.storePath = soak.folder + "/" + kStoreName;
    SetRegistryFilePath(soak.storePath);
    RegisterGameResources();

    auto started = std::chrono::steady_clock::now();
    backend::ScriptBackend script;
    soak.script = &script;
    script.OnEnd([&soak] { soak.inputEnded = true; });
    soak.Plan();
    for (;;) {
        soak.StartSession();
        AfxWinMain(SW_SHOW);
        if (soak.failed || !script.Error().empty() || soak.inputEnded) break;
        // The loop ended on a granted close: the main window must be gone with it.
        if (AfxGetMainWnd() || IsWindow(soak.mainWindow)) {
            soak.Fail("the program's loop ended with its main window still open");
            break;
        }
        if (script.Done()) {
            soak.Fail("the program ended with nothing left to check");
            break;
        }
        if (!soak.Check()) break;  // what the close left behind
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::printf("soak: seed %u: %ld events in %.1f s (%.0f a second)\n", soak.seed, soak.done,
                seconds, seconds > 0 ? soak.done / seconds : 0.0);
    std::printf(
        "soak: %ld restarts, %ld moves, %ld undos, %ld redos, %ld puzzles solved, %ld saves\n",
        soak.sessions - 1, soak.moves, soak.undos, soak.redos, soak.solved, soak.saves);
    std::printf("soak: deepest history slot %d; all 500 slots in use after %ld of the events\n",
                soak.deepest, soak.historyFull);
    std::printf("soak: events by kind:");
    for (int k = 0; k < KindCount; ++k)
        std::printf(" %s %ld%s", kKindNames[k], soak.kinds[k], k + 1 < KindCount ? "," : "\n");
    if (soak.failed || !script.Error().empty()) {
        if (!soak.failed)
            std::fprintf(stderr, "soak: FAILED at event %ld of seed %u: %s (the event: %s)\n",
                         soak.done, soak.seed, script.Error().c_str(), soak.lastEvent.c_str());
        std::fprintf(stderr, "soak: the hive file is kept in %s\n", soak.folder.c_str());
        return 1;
    }
    if (soak.done < soak.target) {
        std::fprintf(stderr, "soak: FAILED: the run ended after %ld of %ld events\n", soak.done,
                     soak.target);
        return 1;
    }
    soak.RemoveFolder();
    return 0;
}
