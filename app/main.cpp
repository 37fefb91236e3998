// The velquin program: the game in a desktop window, or headless, driven by a script on a
// virtual clock, reporting its message boxes and its state as lines of JSON.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/puzzle_packs.h"
#include "app/report_lines.h"
#include "app/script.h"
#include "app/single_copy.h"
#include "app/window_state.h"
#include "engine/game_progress.h"
#include "engine/game_state.h"
#include "platform/afx/afx.h"
#include "platform/backend/script/script_backend.h"
#include "platform/backend/sdl/sdl_backend.h"
#include "platform/crt/utf8.h"
#include "platform/gdi/gdi.h"
#include "platform/registry/hive_file.h"
#include "platform/registry/registry.h"
#include "platform/session/session.h"
#include "resources/game_resources.h"
#include "resources/resource_ids.h"
#include "ui/game_app.h"
#include "ui/hints.h"
#include "ui/intro_geometry.h"
#include "ui/main_frame.h"

namespace {

GameApp theApp;

static_assert(unsigned{KeyShift} == unsigned{user::ModShift} &&
              unsigned{KeyControl} == unsigned{user::ModControl} &&
              unsigned{KeyAlt} == unsigned{user::ModAlt});

void PrintLine(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void ReportBoxes() {
    user::SetMessageBoxObserver([](const user::BoxEvent& e) {
        if (e.opened)
            PrintLine(BoxLine(e.caption, e.text, e.style));
        else
            PrintLine(AnsweredLine(e.caption, e.answer));
    });
}

void ReportHints() {
    SetHintObserver([](const HintReport& hint) {
        PrintLine(hint.wayOut ? HintLine(hint.distance, hint.x, hint.y) : NoWayOutLine(hint.undos));
    });
}

bool ReadScript(const std::string& name, std::string* source) {
    if (name == "-") {
        source->assign(std::istreambuf_iterator<char>(std::cin), {});
        return true;
    }
    std::ifstream in(name, std::ios::binary);
    if (!in) return false;
    source->assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

std::vector<RunningTimer> TimersOfMainWindow() {
    std::vector<RunningTimer> timers;
    if (auto* frame = dynamic_cast<MainFrame*>(AfxGetMainWnd()))
        for (const auto& t : frame->RunningTimers()) timers.push_back({t.id, t.periodMs});
    return timers;
}

// Queues one script command; `line` tells which one ran last, for an error's message.
void Queue(backend::ScriptBackend& script, const ScriptCommand& c, const std::string& shots,
           int* line) {
    script.Do([line, n = c.line](std::string*) {
        *line = n;
        return true;
    });
    switch (c.verb) {
        case VerbWait:
            script.Wait(static_cast<DWORD>(c.number));
            break;
        case VerbTap:
            script.Tap(c.x, c.y);
            break;
        case VerbDoubleTap:
            script.DoubleTap(c.x, c.y);
            break;
        case VerbScreenTap:
            script.ScreenTap(c.x, c.y);
            break;
        case VerbKey:
            script.Key(static_cast<UINT>(c.number), c.modifiers);
            break;
        case VerbCommand:
            script.Command(static_cast<UINT>(c.number));
            break;
        case VerbClose:
            script.Close();
            break;
        case VerbAnswer:
            script.Answer(static_cast<int>(c.number));
            break;
        case VerbClick:
            script.Click(static_cast<UINT>(c.number));
            break;
        case VerbType: {
            std::wstring text;
            FromUtf8(c.text, &text);
            script.SetText(static_cast<UINT>(c.number), text);
            break;
        }
        case VerbOk:
            script.DialogOk();
            break;
        case VerbCancel:
            script.DialogCancel();
            break;
        case VerbShot: {
            std::string path = (shots.empty() ? std::string(".") : shots) + "/" + c.text + ".png";
            script.Do([path](std::string* error) {
                if (backend::WriteScreenPng(path)) return true;
                *error = "cannot write " + path;
                return false;
            });
            break;
        }
        case VerbState:
            script.Do([](std::string*) {
                PrintLine(StateLine(gameState, TimersOfMainWindow()));
                return true;
            });
            break;
    }
}

// Reports a failed script command; the program's exit status.
int EndOfScript(const backend::ScriptBackend& script, int line) {
    int status = 0;
    if (!script.Error().empty()) {
        std::fprintf(stderr, "velquin: script line %d: %s\n", line, script.Error().c_str());
        status = 2;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    return status;
}

int RunHeadless(const CommandLine& cl) {
    std::string source;
    if (!ReadScript(cl.script, &source)) {
        std::fprintf(stderr, "velquin: cannot read the script %s\n", cl.script.c_str());
        return 2;
    }
    std::vector<ScriptCommand> commands;
    ScriptError error;
    if (!ParseScript(source, &commands, &error)) {
        std::fprintf(stderr, "velquin: script line %d: %s\n", error.line, error.what.c_str());
        return 2;
    }
    backend::ScriptBackend script(cl.tickStart);
    SeedRandom(cl.seedGiven ? cl.seed : 0);
    ReportBoxes();
    ReportHints();
    int line = 0;
    for (const auto& c : commands) Queue(script, c, cl.shotsFolder, &line);
    // The script's end is the device switched off: the program ends there and then, with no
    // close request, nothing booked and nothing saved, whatever box or dialog is open.
    script.OnEnd([&script, &line] { std::_Exit(EndOfScript(script, line)); });
    AfxWinMain(SW_SHOW);
    return EndOfScript(script, line);
}

constexpr int kIconSize = 32;

// The desktop window shows the game's icon, read from its picture; magenta is its transparent
// background.
void SetWindowIcon(SDL_Window* window) {
    HBITMAP bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kIconBitmap));
    if (!bitmap) return;
    SDL_Surface* icon =
        SDL_CreateRGBSurfaceWithFormat(0, kIconSize, kIconSize, 32, SDL_PIXELFORMAT_ARGB8888);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    if (icon) {
        for (int y = 0; y < kIconSize; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(static_cast<char*>(icon->pixels) +
                                                         y * icon->pitch);
            for (int x = 0; x < kIconSize; ++x) {
                COLORREF c = GetPixel(dc, x, y);
                const std::uint32_t rgb = gdi::ToPixel(c);
                row[x] = rgb == 0xFF00FFu ? 0u : 0xFF000000u | rgb;
            }
        }
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

int RunDesktop(const CommandLine& cl, bool storeHeld) {
    // Listening from the start: a request that comes before the window exists needs nothing, the
    // new window opens in front.
    if (storeHeld)
        ListenForRaiseRequests(HiveIdentity(RegistryFilePath()), backend::SdlBackend::RequestRaise);
    // The scale asked for, or the last one if it still fits the display, or the largest that
    // fits; full screen if asked for or as it was left.
    const std::string statePath = WindowStatePath();
    const WindowState last = ReadWindowState(statePath);
    const bool given = cl.scale > 0;
    std::string why;
    auto sdl = backend::SdlBackend::Open(given ? cl.scale : last.scale, &why,
                                         cl.fullScreen || last.fullScreen, !given);
    if (!sdl) {
        std::fprintf(stderr, "velquin: %s; use --headless --script FILE to run without one\n",
                     why.c_str());
        StopListeningForRaiseRequests();
        return 1;
    }
    SetWindowIcon(sdl->Window());
    SeedRandom(
        static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const int status = AfxWinMain(SW_SHOW);
    WriteWindowState(statePath, WindowState{sdl->Scale(), sdl->FullScreen()});
    StopListeningForRaiseRequests();
    return status;
}

// The session ends (a signal, the display lost): the game is kept as a granted close keeps it.
void EndSession(int) {
    if (auto* frame = dynamic_cast<MainFrame*>(AfxGetMainWnd())) OnSessionEnd(*frame);
    StopListeningForRaiseRequests();
}

}  // namespace

int main(int argc, char** argv) {
    // Before any thread exists, so that every thread blocks the session's signals.
    session::WatchSignals();
    // A size limit fails a save as a full disk does, instead of killing the game.
    signal(SIGXFSZ, SIG_IGN);
    CommandLine cl = ParseCommandLine(argc, argv);
    switch (cl.action) {
        case CommandLine::Refuse:
            std::fprintf(stderr, "velquin: %s\n%s", cl.error.c_str(), UsageText());
            return 2;
        case CommandLine::ShowHelp:
            std::fputs(UsageText(), stdout);
            return 0;
        case CommandLine::ShowVersion:
            std::puts("velquin " VELQUIN_VERSION);
            return 0;
        default:
            break;
    }
    // A pack's records are checked before anything of the store is touched.
    std::string packError;
    if (!cl.puzzles.empty()) {
        std::string text;
        if (!ReadPackFile(cl.puzzles, &text, &packError) ||
            !TakePack(cl.puzzles, text, &packError)) {
            std::fprintf(stderr, "velquin: %s\n", packError.c_str());
            return 2;
        }
    }
    if (!cl.store.empty()) SetRegistryFilePath(cl.store);
    const bool desktop = cl.action == CommandLine::RunDesktop;
    // One running copy per store: a second desktop launch brings the first to the front.
    const std::string store = RegistryFilePath();
    const HiveClaim claim = ClaimHiveForLife(store);
    if (claim == HiveClaim::InUse) {
        if (desktop && AskRunningCopyToRaise(HiveIdentity(store))) return 0;
        std::fprintf(stderr,
                     "velquin: the store %s is in use by another running copy of the game; "
                     "--store PATH gives another\n",
                     store.c_str());
        return 2;
    }
    if (!cl.puzzles.empty() && !PlayPack(&packError)) {
        std::fprintf(stderr, "velquin: %s\n", packError.c_str());
        return 2;
    }
    RegisterGameResources();
    session::SetEndHandler(EndSession);
    return desktop ? RunDesktop(cl, claim == HiveClaim::Held) : RunHeadless(cl);
}
