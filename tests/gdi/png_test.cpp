// The PNG writer, read back with libpng.
#include "platform/gdi/internal/png.h"

#include <gtest/gtest.h>

#include "tests/gdi/canvas.h"
#include "tests/png_file.h"
#include "tests/scratch_folder.h"

using namespace gdi_test;

TEST(Png, WritesEverySurfacePixelAsRgb) {
    Canvas c(3, 2);
    SetPixel(c.dc(), 0, 0, RGB(10, 20, 30));
    SetPixel(c.dc(), 2, 1, RGB(200, 0, 200));
    const ScratchFolder scratch;
    std::string path = scratch / "surface.png";
    ASSERT_TRUE(gdi::WritePng(c.bitmap(), path));
    PngFile png = ReadPngFile(path);
    ASSERT_EQ(png.width, 3);
    ASSERT_EQ(png.height, 2);
    EXPECT_FALSE(png.alpha);
    EXPECT_EQ(png.pixels.front(), 0xFF0A141Eu);
    EXPECT_EQ(png.pixels.back(), 0xFFC800C8u);
    // A palettized bitmap is written with its colours.
    HBITMAP waves = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9002));
    ASSERT_TRUE(gdi::WritePng(waves, path));
    png = ReadPngFile(path);
    EXPECT_EQ(png.width, 5);
    EXPECT_EQ(png.pixels[2] >> 16 & 0xFF, 0xC0u);
    DeleteObject(waves);
    EXPECT_FALSE(gdi::WritePng(c.bitmap(), "/nonexistent-folder/x.png"));
}
