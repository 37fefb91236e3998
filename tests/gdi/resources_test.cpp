// Text pictures: the parser, the build-time table and LoadBitmapW.
#include "platform/gdi/internal/resources.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>

#include "platform/gdi/internal/picture_file.h"
#include "tests/gdi/canvas.h"
#include "tests/scratch_folder.h"

TEST(PictureFile, ReadsPaletteAndRowsAndSaysWhatIsWrongAndWhere) {
    gdi::Picture p;
    EXPECT_EQ(
        gdi::ParsePicture("# two by two\npicture 7 2 2 4\ncolour x 102030\ncolour | 000000\n", &p),
        "line 4: colour CHARACTER RRGGBB");
    ASSERT_EQ(gdi::ParsePicture("picture kSeven 3 2 4\r\ncolour x 102030\ncolour   FFFFFF\n"
                                "|x x|\n\n|  x|\n",
                                &p),
              "");
    // The id is the name of the program's constant.
    EXPECT_EQ(std::tuple(p.id, p.palette, p.indices),
              std::tuple("kSeven", std::vector<std::uint32_t>{0x102030, 0xFFFFFF},
                         std::vector<std::uint8_t>{0, 1, 0, 1, 1, 0}));
    // One bit: index 0 black, 1 white, whatever the order of the colour lines.
    ASSERT_EQ(gdi::ParsePicture("picture 1 2 1 1\ncolour . FFFFFF\ncolour # 000000\n|#.|\n", &p),
              "");
    EXPECT_EQ(p.indices, (std::vector<std::uint8_t>{0, 1}));

    const char* const cases[][2] = {
        {"picture 1 3 1 8\ncolour a 000000\n|aa|\n", "line 3: a row of 2 characters, not 3"},
        {"picture 1 2 1 8\ncolour a 000000\n|ab|\n", "line 3: 'b' is not in the palette"},
        {"picture 1 2 1 8\ncolour a 000000\n|aa|\n|aa|\n",
         "line 4: more rows than the picture's height"},
        {"picture 1 2 2 8\ncolour a 000000\n|aa|\n", "line 3: 1 rows, not 2"},
        {"picture 1 1 1 1\ncolour a 808080\n|a|\n",
         "line 2: a 1-bit picture has only black and white"},
        {"picture 1 1 1 3\n", "line 1: bits must be 1, 4, 8 or 32"},
        {"picture 0 1 1 8\n", "line 1: the id must be 1 to 65535"},
        {"picture 7x 1 1 8\n", "line 1: picture ID WIDTH HEIGHT BITS"},
        {"|a|\n", "line 1: a row before the picture line"},
        {"", "line 0: no picture line"},
        {"picture 1 1 1 4\ncolour a 000000\ncolour a 000001\n",
         "line 3: 'a' has a colour already"}};
    for (auto [text, error] : cases) EXPECT_EQ(gdi::ParsePicture(text, &p), error) << text;
    // A file: its errors name it.
    EXPECT_EQ(gdi::ReadPictureFile("/nonexistent/icon.picture", &p),
              "/nonexistent/icon.picture: cannot read");
    const ScratchFolder scratch;
    const std::string bad = scratch / "bad.picture";
    std::FILE* f = std::fopen(bad.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("picture 1 2 1 8\ncolour a 000000\n|ab|\n", f);
    std::fclose(f);
    EXPECT_EQ(gdi::ReadPictureFile(bad, &p), bad + ": line 3: 'b' is not in the palette");
}

TEST(LoadBitmap, FindsTheProgramsPicturesByIdAndLoadsNothingInconsistent) {
    int before = gdi::LiveObjectCount();
    HBITMAP arrow = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9001));
    HBITMAP waves = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9002));
    HBITMAP glow = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9003));
    HBITMAP tiles = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9004));
    ASSERT_TRUE(arrow && waves && glow && tiles);
    EXPECT_EQ(gdi::LiveObjectCount(), before + 4);
    auto shape = [](HBITMAP b) {
        gdi::BitmapInfo info{};
        gdi::GetBitmapInfo(b, &info);
        return std::tuple(info.width, info.height, info.bitsPerPixel);
    };
    EXPECT_EQ(shape(arrow), std::tuple(6, 4, 1));
    EXPECT_EQ(std::tuple(gdi::BitmapIndex(arrow, 2, 0), gdi::BitmapIndex(arrow, 0, 0)),
              std::tuple(0, 1));  // '#' is black
    EXPECT_EQ(std::get<2>(shape(waves)), 4);
    EXPECT_EQ(std::tuple(gdi::BitmapIndex(waves, 2, 0), gdi::BitmapPixel(waves, 2, 0)),
              std::tuple(2, 0xC040FFu));
    EXPECT_EQ(std::tuple(std::get<2>(shape(glow)), gdi::BitmapPixel(glow, 1, 1)),
              std::tuple(8, 0x8080FFu));
    EXPECT_EQ(std::tuple(std::get<2>(shape(tiles)), gdi::BitmapPixel(tiles, 3, 3)),
              std::tuple(32, 0x000010u));
    // Each load is a bitmap of its own.
    HBITMAP second = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9001));
    EXPECT_NE(second, arrow);
    for (HBITMAP b : {arrow, waves, glow, tiles, second}) EXPECT_TRUE(DeleteObject(b));
    EXPECT_EQ(gdi::LiveObjectCount(), before);
    EXPECT_EQ(
        std::tuple(LoadBitmapW(nullptr, MAKEINTRESOURCEW(1)), LoadBitmapW(nullptr, L"GLYPHS")),
        std::tuple(nullptr, nullptr));

    const std::uint32_t palette[] = {0, 0xFFFFFF};
    const unsigned char indices[] = {0, 1, 2, 0};
    for (int bits : {8, 1})  // an index beyond the palette; an index too wide for the depth
        EXPECT_EQ(gdi::BitmapFromPicture({42, "bad", 2, 2, bits, palette, 2, indices}), nullptr);
}

TEST(PictureTool, RejectsABadPictureAndATwiceUsedId) {
    const ScratchFolder scratch;
    auto write = [&](const std::string& name, const std::string& text) {
        std::string path = scratch / name;
        FILE* f = std::fopen(path.c_str(), "w");
        std::fputs(text.c_str(), f);
        std::fclose(f);
        return path;
    };
    std::string good = write("good.picture", "picture 5 1 1 32\ncolour a 123456\n|a|\n");
    std::string bad = write("bad.picture", "picture 5 1 1 32\n|a|\n");
    std::string tool = VELQUIN_PICTURE_TOOL;
    std::string out = scratch / "table.cpp";
    auto run = [&](const std::string& args) {
        return std::system((tool + " " + out + " " + args + " 2>/dev/null").c_str());
    };
    EXPECT_EQ(run(good), 0);
    EXPECT_NE(run(bad), 0);
    EXPECT_NE(run(good + " " + good), 0);
}
