// Writes two pictures of the platform at work: a message box over a test window, and an open
// dialog. Usage: velquin-platform-shots DIR
#include <cstdio>
#include <string>

#include "platform/backend/script/script_backend.h"
#include "tests/afx/test_app.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    testing_afx::RegisterTestResources();
    backend::ScriptBackend script(1000);
    testing_afx::TestApp app;
    bool ok = true;
    auto shot = [&](const std::string& name) {
        script.Do([&ok, path = dir + "/" + name](std::string*) {
            ok = backend::WriteScreenPng(path) && ok;
            return true;
        });
    };
    script.Wait(100);
    script.Command(testing_afx::kCmdAbout);
    script.Wait(100);
    shot("platform-message-box.png");
    script.Key(VK_RETURN);
    script.Command(testing_afx::kCmdOptions);
    script.Wait(100);
    shot("platform-dialog.png");
    script.Key(VK_ESCAPE);
    AfxWinMain(SW_SHOW);
    user::ShutdownWindowSystem();
    if (!ok) std::fprintf(stderr, "could not write the pictures into %s\n", dir.c_str());
    return ok ? 0 : 1;
}
