// The velquin program in a web page: the game on the page's canvas, its settings file kept in the
// browser's storage, one running copy per browser as one per store on the desktop. The page hands
// a pack of puzzles over as `--puzzles FILE`, having written the file where the program reads it.
#include <emscripten.h>

#include <chrono>
#include <cstring>
#include <string>

#include "app/puzzle_packs.h"
#include "platform/afx/afx.h"
#include "platform/backend/web/web_backend.h"
#include "platform/registry/registry.h"
#include "resources/game_resources.h"
#include "ui/game_app.h"
#include "ui/intro_geometry.h"

namespace {

GameApp theApp;

const char* const kStoreFolder = "/store";

// The page shows why instead of an empty canvas.
int RefusePack(const std::string& why) {
    backend::WebBackend::ShowStatus("This puzzle pack cannot be played: " + why);
    EM_ASM({
        if (Module.canvas) Module.canvas.style.display = 'none';
    });
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const bool pack = argc == 3 && std::strcmp(argv[1], "--puzzles") == 0;
    std::string text, error;
    if (pack && (!ReadPackFile(argv[2], &text, &error) || !TakePack(argv[2], text, &error)))
        return RefusePack(error);
    RegisterGameResources();
    // The lock first: a second page must not read the file while the first one writes it.
    backend::WebBackend::HoldLock(
        "velquin-store",
        "Velquin PPC is already open in another tab or window of this browser. It starts here "
        "as soon as that one is closed.");
    const char* const kept =
        backend::WebBackend::KeepFolder(kStoreFolder)
            ? ""
            : "This browser keeps no data for this page: statistics last for this visit only.";
    backend::WebBackend::ShowStatus(kept);
    SetRegistryFilePath(std::string(kStoreFolder) + "/registry.reg");
    // Opened before the pack's solutions are kept, so that they reach the browser's storage at
    // the first wait.
    auto web = backend::WebBackend::Open();
    if (pack) {
        // The first time, each puzzle's solution is searched for, which may take a moment: the
        // page says so, given a moment to show it.
        backend::WebBackend::ShowStatus("Checking the puzzle pack…");
        emscripten_sleep(20);
        if (!PlayPack(&error)) return RefusePack(error);
        backend::WebBackend::ShowStatus(kept);
    }
    SeedRandom(
        static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    int code = AfxWinMain(SW_SHOW);
    web->SyncFolder();
    backend::WebBackend::ShowStatus("Velquin PPC has ended. Reload the page to play again.");
    return code;
}
