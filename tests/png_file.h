// A PNG file read back with libpng, for the tests of the pictures the program writes.
#pragma once

#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

struct PngFile {
    int width = 0, height = 0;
    bool alpha = false;                 // whether the file holds an alpha channel
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB row after row; empty when unreadable
};

inline PngFile ReadPngFile(const std::string& path) {
    PngFile file;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return file;
    file.alpha = image.format & PNG_FORMAT_FLAG_ALPHA;
    image.format = PNG_FORMAT_ARGB;  // opaque where the file has no alpha
    std::vector<std::uint8_t> argb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, argb.data(), 0, nullptr)) return file;
    file.width = static_cast<int>(image.width);
    file.height = static_cast<int>(image.height);
    for (std::size_t i = 0; i + 3 < argb.size(); i += 4)
        file.pixels.push_back(static_cast<std::uint32_t>(argb[i]) << 24 | argb[i + 1] << 16 |
                              argb[i + 2] << 8 | argb[i + 3]);
    return file;
}
