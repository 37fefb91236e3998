#include "platform/gdi/internal/png.h"

#include <png.h>

#include <vector>

#include "platform/gdi/internal/surface.h"

namespace gdi {

namespace {

// Rows of 0x00RRGGBB words as packed RGB bytes; empty for a malformed surface.
std::vector<std::uint8_t> PackedRgb(const std::uint32_t* pixels, int width, int height,
                                    int stride) {
    if (!pixels || width <= 0 || height <= 0 || stride < width) return {};
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = pixels[static_cast<std::size_t>(y) * stride + x];
            std::uint8_t* o = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            o[0] = (p >> 16) & 0xFF;
            o[1] = (p >> 8) & 0xFF;
            o[2] = p & 0xFF;
        }
    return rgb;
}

png_image RgbImage(int width, int height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    return image;
}

}  // namespace

bool WritePng(const std::uint32_t* pixels, int width, int height, int stride,
              const std::string& path) {
    std::vector<std::uint8_t> rgb = PackedRgb(pixels, width, height, stride);
    if (rgb.empty()) return false;
    png_image image = RgbImage(width, height);
    bool ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * 3, nullptr);
    png_image_free(&image);
    return ok;
}

bool WritePng(const std::uint32_t* pixels, int width, int height, int stride, std::FILE* file) {
    std::vector<std::uint8_t> rgb = PackedRgb(pixels, width, height, stride);
    if (rgb.empty() || !file) return false;
    png_image image = RgbImage(width, height);
    bool ok = png_image_write_to_stdio(&image, file, 0, rgb.data(), width * 3, nullptr);
    png_image_free(&image);
    return ok;
}

bool WritePng(HBITMAP bitmap, const std::string& path) {
    BitmapInfo info;
    if (!GetBitmapInfo(bitmap, &info)) return false;
    int stride = 0;
    if (const std::uint32_t* rows = BitmapRows(bitmap, &stride))
        return WritePng(rows, info.width, info.height, stride, path);
    std::vector<std::uint32_t> words(static_cast<std::size_t>(info.width) * info.height);
    for (int y = 0; y < info.height; ++y)
        for (int x = 0; x < info.width; ++x) words[y * info.width + x] = BitmapPixel(bitmap, x, y);
    return WritePng(words.data(), info.width, info.height, info.width, path);
}

}  // namespace gdi
