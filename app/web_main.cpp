// The velquin program in a web page: the game on the page's canvas, its settings file kept in the
// browser's storage, one running copy per browser as one per store on the desktop.
#include <chrono>
#include <string>

#include "platform/afx/afx.h"
#include "platform/backend/web/web_backend.h"
#include "platform/registry/registry.h"
#include "resources/game_resources.h"
#include "ui/game_app.h"
#include "ui/intro_geometry.h"

namespace {

GameApp theApp;

const char* const kStoreFolder = "/store";

}  // namespace

int main() {
    RegisterGameResources();
    // The lock first: a second page must not read the file while the first one writes it.
    backend::WebBackend::HoldLock(
        "velquin-store",
        "Velquin PPC is already open in another tab or window of this browser. It starts here "
        "as soon as that one is closed.");
    if (!backend::WebBackend::KeepFolder(kStoreFolder))
        backend::WebBackend::ShowStatus(
            "This browser keeps no data for this page: statistics last for this visit only.");
    SetRegistryFilePath(std::string(kStoreFolder) + "/registry.reg");
    auto web = backend::WebBackend::Open();
    SeedRandom(
        static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    int code = AfxWinMain(SW_SHOW);
    web->SyncFolder();
    backend::WebBackend::ShowStatus("Velquin PPC has ended. Reload the page to play again.");
    return code;
}
