#include "platform/gdi/internal/png.h"

#include <png.h>

#include <vector>

#include "platform/gdi/internal/surface.h"

namespace gdi {

namespace {

// Rows of words as packed bytes: R, G, B from 0x00RRGGBB and, for RGBA, A from the top byte.
// Empty for a malformed surface.
std::vector<std::uint8_t> Packed(const std::uint32_t* pixels, int width, int height, int stride,
                                 PngFormat format) {
    if (!pixels || width <= 0 || height <= 0 || stride < width) return {};
    const std::size_t channels = format == PngFormat::Rgba ? 4 : 3;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * height * channels);
    std::uint8_t* o = bytes.data();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, o += channels) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * stride + x];
            o[0] = (p >> 16) & 0xFF;
            o[1] = (p >> 8) & 0xFF;
            o[2] = p & 0xFF;
            if (channels == 4) o[3] = p >> 24;
        }
    return bytes;
}

png_image Image(int width, int height, PngFormat format) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = format == PngFormat::Rgba ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    return image;
}

}  // namespace

bool WritePng(const std::uint32_t* pixels, int width, int height, int stride,
              const std::string& path, PngFormat format) {
    std::vector<std::uint8_t> bytes = Packed(pixels, width, height, stride, format);
    if (bytes.empty()) return false;
    png_image image = Image(width, height, format);
    bool ok = png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), 0, nullptr);
    png_image_free(&image);
    return ok;
}

bool WritePng(const std::uint32_t* pixels, int width, int height, int stride, std::FILE* file) {
    std::vector<std::uint8_t> bytes = Packed(pixels, width, height, stride, PngFormat::Rgb);
    if (bytes.empty() || !file) return false;
    png_image image = Image(width, height, PngFormat::Rgb);
    bool ok = png_image_write_to_stdio(&image, file, 0, bytes.data(), 0, nullptr);
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
