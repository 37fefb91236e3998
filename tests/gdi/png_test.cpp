// The PNG writer, read back with libpng.
#include "platform/gdi/internal/png.h"

#include <gtest/gtest.h>
#include <png.h>

#include <vector>

#include "tests/gdi/canvas.h"
#include "tests/scratch_folder.h"

using namespace gdi_test;

namespace {

std::vector<std::uint8_t> ReadRgb(const std::string& path, int* w, int* h) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<std::uint8_t> rgb;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return rgb;
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr);
    *w = static_cast<int>(image.width);
    *h = static_cast<int>(image.height);
    return rgb;
}

}  // namespace

TEST(Png, WritesEverySurfacePixelAsRgb) {
    Canvas c(3, 2);
    SetPixel(c.dc(), 0, 0, RGB(10, 20, 30));
    SetPixel(c.dc(), 2, 1, RGB(200, 0, 200));
    const ScratchFolder scratch;
    std::string path = scratch / "surface.png";
    ASSERT_TRUE(gdi::WritePng(c.bitmap(), path));
    int w = 0, h = 0;
    std::vector<std::uint8_t> rgb = ReadRgb(path, &w, &h);
    ASSERT_EQ(w, 3);
    ASSERT_EQ(h, 2);
    EXPECT_EQ(std::vector<std::uint8_t>(rgb.begin(), rgb.begin() + 3),
              (std::vector<std::uint8_t>{10, 20, 30}));
    EXPECT_EQ(std::vector<std::uint8_t>(rgb.end() - 3, rgb.end()),
              (std::vector<std::uint8_t>{200, 0, 200}));
    // A palettized bitmap is written with its colours.
    HBITMAP waves = LoadBitmapW(nullptr, MAKEINTRESOURCEW(9002));
    ASSERT_TRUE(gdi::WritePng(waves, path));
    rgb = ReadRgb(path, &w, &h);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(rgb[6], 0xC0);
    DeleteObject(waves);
    EXPECT_FALSE(gdi::WritePng(c.bitmap(), "/nonexistent-folder/x.png"));
}
