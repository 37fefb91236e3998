// The window's starting scale for a few displays, and the remembered window state.
#include "app/window_state.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/backend/sdl/window_scale.h"
#include "tests/scratch_folder.h"

namespace {

TEST(WindowScale, TheLargestWholeScaleThatFitsTheUsableAreaOrTheResizedWindow) {
    struct Display {
        int width, height, scale;
    } const displays[] = {
        {3840, 2160 - 27, 6},  // 4K with a panel: 1440 x 1920, sharp and large
        {2560, 1440 - 27, 4},  // 1280 + frame in 1413
        {1920, 1080 - 27, 2},  // 960 + frame in 1053 would leave too little room
        {1366, 768 - 27, 2},   // 640 + frame in 741
        {1280, 720 - 27, 1},   // 640 + frame leaves no room in 693
        {1024, 600, 1},        // smaller still: never below 1
        {200, 200, 1},
        {15360, 8640, 8},  // never above the largest scale
        {0, 0, 2},         // unknown display: the old default
        {-1, 900, 2},
        {760, 4000, 2},  // width limits too: a tall but narrow area
        {780, 4000, 3},
    };
    for (const auto& d : displays)
        EXPECT_EQ(backend::FittingScale(d.width, d.height), d.scale) << d.width << "x" << d.height;

    EXPECT_EQ(backend::ScaleOfWindow(480, 640), 2);
    EXPECT_EQ(backend::ScaleOfWindow(1000, 700), 2);  // height decides
    EXPECT_EQ(backend::ScaleOfWindow(719, 2000), 2);  // width decides
    EXPECT_EQ(backend::ScaleOfWindow(100, 100), 1);   // below the minimum size: still 1
}

TEST(WindowState, ReadsBackWhatItWroteInTheStateFolderWhateverElseTheFileHolds) {
    const WindowState written{4, true};
    const WindowState read = ParseWindowState(FormatWindowState(written));
    EXPECT_EQ(read.scale, 4);
    EXPECT_TRUE(read.fullScreen);
    const WindowState odd = ParseWindowState("scale=99\nfullscreen=yes\nscale=3x\nsize=2\n");
    EXPECT_EQ(odd.scale, 0);
    EXPECT_FALSE(odd.fullScreen);
    EXPECT_EQ(ParseWindowState("scale=8\nfullscreen=0\n").scale, 8);

    namespace fs = std::filesystem;
    const ScratchFolder scratch;
    const fs::path folder = scratch.Path();
    setenv("XDG_STATE_HOME", folder.c_str(), 1);
    const std::string path = WindowStatePath();
    EXPECT_EQ(path, (folder / "velquin" / "window").string());
    EXPECT_EQ(ReadWindowState(path).scale, 0);  // nothing yet
    ASSERT_TRUE(WriteWindowState(path, WindowState{3, false}));
    EXPECT_EQ(ReadWindowState(path).scale, 3);
    EXPECT_FALSE(fs::exists(path + ".new"));
    std::ofstream(path, std::ios::trunc) << "\x01\x02 garbage";
    EXPECT_EQ(ReadWindowState(path).scale, 0);
    // A relative XDG_STATE_HOME is ignored, as the base directory rules say.
    setenv("XDG_STATE_HOME", "relative/state", 1);
    setenv("HOME", folder.c_str(), 1);
    EXPECT_EQ(WindowStatePath(), (folder / ".local/state/velquin/window").string());
    unsetenv("XDG_STATE_HOME");
}

}  // namespace
