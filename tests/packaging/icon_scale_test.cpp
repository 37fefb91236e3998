// The desktop icons: nearest-neighbour scaling of the icon picture, and the tool that writes
// them, read back with libpng.
#include "packaging/icon_scale.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A square picture whose every pixel has a colour of its own: colour k is 0x00000k.
gdi::Picture Numbered(int side) {
    gdi::Picture p;
    p.id = 1;
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

// 0x00RRGGBB words of a PNG file, empty when it cannot be read.
std::vector<std::uint32_t> ReadPng(const std::string& path, int* side) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
    EXPECT_EQ(image.width, image.height);
    *side = static_cast<int>(image.width);
    std::vector<std::uint32_t> words;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        words.push_back((rgb[i] << 16) | (rgb[i + 1] << 8) | rgb[i + 2]);
    return words;
}

}  // namespace

TEST(IconScale, EachPixelTakesThePictureColourUnderItsCentre) {
    // Halving: the centres of the target pixels fall on source columns and rows 1 and 3.
    EXPECT_EQ(Scaled(Numbered(4), 2), (std::vector<std::uint32_t>{5, 7, 13, 15}));
    // Tripling: every source pixel becomes a 3 x 3 block.
    std::vector<std::uint32_t> big = Scaled(Numbered(2), 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(big[y * 6 + x], (y / 3) * 2 + x / 3) << x << "," << y;
    // One and a half: 2 to 3 pixels takes column 0 once and column 1 twice, never a blend.
    EXPECT_EQ(Scaled(Numbered(2), 3), (std::vector<std::uint32_t>{0, 1, 1, 2, 3, 3, 2, 3, 3}));
    // The same size is the picture itself.
    EXPECT_EQ(Scaled(Numbered(3), 3), Numbered(3).palette);
}

TEST(IconScale, GameIconAtTheThemeSizes) {
    const gdi::Picture icon = GameIcon();
    ASSERT_EQ(icon.id, 200);
    ASSERT_EQ(icon.width, 32);
    // At every size the blue wall, the red box in the middle and the green pusher low at the
    // left stay where the picture has them, in its own colours; the one-pixel black frame
    // stays from 32 pixels up (halved, nearest neighbour drops it).
    for (int size : {16, 32, 48, 128}) {
        std::vector<std::uint32_t> pixels = Scaled(icon, size);
        auto at = [&](double fx, double fy) {
            return pixels[static_cast<int>(fy * size) * size + static_cast<int>(fx * size)];
        };
        EXPECT_EQ(at(0.14, 0.5), 0x0000FFu) << size;
        EXPECT_EQ(at(0.5, 0.5), 0xFF0000u) << size;
        EXPECT_EQ(at(0.22, 0.83), 0x00C000u) << size;
        EXPECT_EQ(at(0.5, 0.1), 0xFFFFFFu) << size;
        if (size >= 32) {
            EXPECT_EQ(at(0, 0), 0x000000u) << size;
            EXPECT_EQ(at(0.99, 0.99), 0x000000u) << size;
        }
    }
}

TEST(IconScale, RefusesWhatCannotBeAnIcon) {
    std::vector<std::uint32_t> pixels{7};
    EXPECT_NE(ScaleIcon(Numbered(4), 0, &pixels), "");
    EXPECT_TRUE(pixels.empty());
    EXPECT_NE(ScaleIcon(Numbered(4), kLargestIconSize + 1, &pixels), "");
    gdi::Picture wide = Numbered(4);
    wide.width = 8;
    wide.height = 2;
    EXPECT_NE(ScaleIcon(wide, 16, &pixels), "");
    gdi::Picture empty;
    EXPECT_NE(ScaleIcon(empty, 16, &pixels), "");
    gdi::Picture shortRows = Numbered(4);
    shortRows.indices.resize(12);
    EXPECT_NE(ScaleIcon(shortRows, 16, &pixels), "");
    gdi::Picture stray = Numbered(2);
    stray.indices[3] = 9;
    EXPECT_NE(ScaleIcon(stray, 2, &pixels), "");
    EXPECT_TRUE(pixels.empty());
}

TEST(IconScale, ReadsSizeAndPathRequests) {
    int size = 0;
    std::string path;
    ASSERT_TRUE(ReadIconRequest("48:/tmp/a:b.png", &size, &path));
    EXPECT_EQ(size, 48);
    EXPECT_EQ(path, "/tmp/a:b.png");
    for (const char* bad : {"48", "48:", ":a.png", "x:a.png", "48x:a.png", "0:a.png", "1025:a.png",
                            "-16:a.png", "99999999999:a.png"})
        EXPECT_FALSE(ReadIconRequest(bad, &size, &path)) << bad;
}

TEST(IconTool, WritesTheIconOnlyFromTheIconPicture) {
    const std::string tool = VELQUIN_ICON_TOOL;
    const std::string picture = SourceDir() + "/resources/icon.picture";
    const std::string dir = testing::TempDir();
    const std::string small = dir + "/icon-16.png", large = dir + "/icon-128.png";
    std::remove(small.c_str());
    std::remove(large.c_str());
    auto run = [&](const std::string& args) {
        return std::system((tool + " " + args + " 2>/dev/null").c_str());
    };
    ASSERT_EQ(run(picture + " 200 16:" + small + " 128:" + large), 0);
    int side = 0;
    std::vector<std::uint32_t> pixels = ReadPng(large, &side);
    EXPECT_EQ(side, 128);
    std::vector<std::uint32_t> expected;
    ASSERT_EQ(ScaleIcon(GameIcon(), 128, &expected), "");
    EXPECT_EQ(pixels, expected);
    EXPECT_EQ(ReadPng(small, &side).size(), 256u);
    EXPECT_EQ(side, 16);

    // Another picture, a bad request or an unwritable folder fail, and write nothing there.
    const std::string other = dir + "/other.png";
    std::remove(other.c_str());
    EXPECT_NE(run(picture + " 201 16:" + other), 0);
    EXPECT_NE(run(SourceDir() + "/resources/toolbar.picture 200 16:" + other), 0);
    EXPECT_NE(run(picture + " 200 16x16:" + other), 0);
    EXPECT_NE(run(picture + " x 16:" + other), 0);
    EXPECT_NE(run(dir + "/missing.picture 200 16:" + other), 0);
    EXPECT_NE(run(picture + " 200 16:/nonexistent-folder/icon.png"), 0);
    EXPECT_NE(run(picture + " 200"), 0);
    EXPECT_EQ(std::fopen(other.c_str(), "rb"), nullptr);
}
