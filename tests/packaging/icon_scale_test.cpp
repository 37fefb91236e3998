// The desktop icons: nearest-neighbour scaling of the icon picture, and the tool that writes
// them, read back with libpng.
#include "packaging/icon_scale.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "tests/png_file.h"
#include "tests/scratch_folder.h"

namespace {

// A square picture whose every pixel has a colour of its own: colour k is 0x00000k.
gdi::Picture Numbered(int side) {
    gdi::Picture p;
    p.id = "1";
    p.width = p.height = side;
    p.bitsPerPixel = 8;
    for (int k = 0; k < side * side; ++k) {
        p.palette.push_back(static_cast<std::uint32_t>(k));
        p.indices.push_back(static_cast<std::uint8_t>(k));
    }
    return p;
}

std::vector<std::uint32_t> Scaled(const gdi::Picture& p, int size) {
    std::vector<std::uint32_t> pixels;
    EXPECT_EQ(ScaleIcon(p, size, &pixels), "");
    EXPECT_EQ(pixels.size(), static_cast<std::size_t>(size) * size);
    return pixels;
}

std::string SourceDir() {
    const char* dir = std::getenv("VELQUIN_TEST_SOURCE_DIR");
    return dir ? dir : ".";
}

gdi::Picture GameIcon() {
    gdi::Picture p;
    EXPECT_EQ(gdi::ReadPictureFile(SourceDir() + "/resources/icon.picture", &p), "");
    return p;
}

constexpr std::uint32_t kOpaque = 0xFF000000u;

}  // namespace

TEST(IconScale, EachPixelTakesThePictureColourUnderItsCentre) {
    auto opaque = [](std::vector<std::uint32_t> colours) {
        for (auto& c : colours) c |= kOpaque;
        return colours;
    };
    // Halving: the centres of the target pixels fall on source columns and rows 1 and 3.
    EXPECT_EQ(Scaled(Numbered(4), 2), opaque({5, 7, 13, 15}));
    // Tripling: every source pixel becomes a 3 x 3 block.
    std::vector<std::uint32_t> big = Scaled(Numbered(2), 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(big[y * 6 + x], kOpaque | ((y / 3) * 2 + x / 3)) << x << "," << y;
    // One and a half: 2 to 3 pixels takes column 0 once and column 1 twice, never a blend.
    EXPECT_EQ(Scaled(Numbered(2), 3), opaque({0, 1, 1, 2, 3, 3, 2, 3, 3}));
    // The same size is the picture itself.
    EXPECT_EQ(Scaled(Numbered(3), 3), opaque(Numbered(3).palette));
    // Magenta is the transparent background, whatever its palette entry's spare byte holds.
    gdi::Picture keyed = Numbered(2);
    keyed.palette[1] = 0xFF00FF;
    keyed.palette[2] = 0x7FFF00FF;
    EXPECT_EQ(Scaled(keyed, 2), (std::vector<std::uint32_t>{kOpaque, 0, 0, kOpaque | 3}));
}

TEST(IconScale, GameIconAtTheThemeSizesKeepsAnEvenFrame) {
    const gdi::Picture icon = GameIcon();
    ASSERT_EQ(icon.id, "kIconBitmap");
    ASSERT_EQ(icon.width, 32);
    for (int size : {16, 32, 48, 128}) {
        std::vector<std::uint32_t> pixels = Scaled(icon, size);
        auto px = [&](int x, int y) { return pixels[y * size + x]; };
        // The corners are background.
        for (int corner : {0, size - 1})
            EXPECT_EQ(std::tuple(px(corner, 0), px(corner, size - 1)), std::tuple(0u, 0u)) << size;
        // From each side to the middle: transparent margin, then black frame, then the white
        // tile, each as wide on every side.
        auto runs = [&](int x0, int y0, int dx, int dy) {
            std::vector<int> lengths;
            std::uint32_t last = px(x0, y0);
            int n = 0;
            for (int i = 0; i < size / 2 && lengths.size() < 3; ++i) {
                std::uint32_t p = px(x0 + i * dx, y0 + i * dy);
                if (p != last) {
                    lengths.push_back(n);
                    last = p;
                    n = 0;
                }
                ++n;
            }
            return lengths;
        };
        const int mid = size / 2;
        const std::vector<int> left = runs(0, mid, 1, 0);
        ASSERT_EQ(left.size(), 3u) << size;
        EXPECT_GE(left[0], 1) << size;  // transparent
        EXPECT_GE(left[1], 1) << size;  // black
        EXPECT_EQ(px(left[0], mid), kOpaque) << size;
        EXPECT_EQ(runs(size - 1, mid, -1, 0), left) << size << " right";
        EXPECT_EQ(runs(mid, 0, 0, 1), left) << size << " top";
        EXPECT_EQ(runs(mid, size - 1, 0, -1), left) << size << " bottom";
    }
}

TEST(IconScale, RefusesWhatCannotBeAnIconAndReadsSizeAndPathRequests) {
    // Sizes out of range, a picture not square, an empty one, one with short rows, one with an
    // index beyond its palette.
    gdi::Picture wide = Numbered(4), shortRows = Numbered(4), stray = Numbered(2);
    wide.width = 8, wide.height = 2, shortRows.indices.resize(12), stray.indices[3] = 9;
    const std::pair<gdi::Picture, int> refused[] = {
        {Numbered(4), 0}, {Numbered(4), kLargestIconSize + 1},
        {wide, 16},       {{}, 16},
        {shortRows, 16},  {stray, 2}};
    for (const auto& [picture, side] : refused) {
        std::vector<std::uint32_t> pixels{7};
        EXPECT_NE(ScaleIcon(picture, side, &pixels), "") << side;
        EXPECT_TRUE(pixels.empty()) << side;
    }
    int size = 0;
    std::string path;
    ASSERT_TRUE(ReadIconRequest("48:/tmp/a:b.png", &size, &path));
    EXPECT_EQ(std::tuple(size, path), std::tuple(48, "/tmp/a:b.png"));
    for (const char* bad : {"48", "48:", ":a.png", "x:a.png", "48x:a.png", "0:a.png", "1025:a.png",
                            "-16:a.png", "99999999999:a.png"})
        EXPECT_FALSE(ReadIconRequest(bad, &size, &path)) << bad;
}

TEST(IconTool, WritesTheIconOnlyFromTheIconPicture) {
    const std::string tool = VELQUIN_ICON_TOOL;
    const std::string picture = SourceDir() + "/resources/icon.picture";
    const ScratchFolder scratch;
    const std::string small = scratch / "icon-16.png", large = scratch / "icon-128.png";
    auto run = [&](const std::string& args) {
        return std::system((tool + " " + args + " 2>/dev/null").c_str());
    };
    ASSERT_EQ(run(picture + " kIconBitmap 16:" + small + " 128:" + large), 0);
    std::vector<std::uint32_t> expected;
    ASSERT_EQ(ScaleIcon(GameIcon(), 128, &expected), "");
    const PngFile big = ReadPngFile(large), little = ReadPngFile(small);
    EXPECT_TRUE(big.alpha && little.alpha);
    EXPECT_EQ(big.pixels, expected);
    EXPECT_EQ(std::tuple(little.width, little.height), std::tuple(16, 16));

    // Another picture, a bad request or an unwritable folder fail, and write nothing there.
    const std::string other = scratch / "other.png";
    EXPECT_NE(run(picture + " kBannerBitmap 16:" + other), 0);
    EXPECT_NE(run(SourceDir() + "/resources/toolbar.picture kIconBitmap 16:" + other), 0);
    EXPECT_NE(run(picture + " kIconBitmap 16x16:" + other), 0);
    EXPECT_NE(run(scratch / "missing.picture" + " kIconBitmap 16:" + other), 0);
    EXPECT_NE(run(picture + " kIconBitmap 16:/nonexistent-folder/icon.png"), 0);
    EXPECT_NE(run(picture + " kIconBitmap"), 0);
    EXPECT_EQ(std::fopen(other.c_str(), "rb"), nullptr);
}
