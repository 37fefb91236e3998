// Writing a surface as a PNG file: the headless shot command, the icon tool and the tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/gdi/gdi.h"

namespace gdi {

// Rgb: words 0x00RRGGBB. Rgba: words 0xAARRGGBB, the top byte the alpha (0 transparent).
enum class PngFormat { Rgb, Rgba };

// Rows of words, stride in pixels. False when the file cannot be written.
bool WritePng(const std::uint32_t* pixels, int width, int height, int stride,
              const std::string& path, PngFormat format = PngFormat::Rgb);
// The same into an open file, which stays open.
bool WritePng(const std::uint32_t* pixels, int width, int height, int stride, std::FILE* file);
// Any bitmap; palettized ones are written with their palette resolved.
bool WritePng(HBITMAP bitmap, const std::string& path);

}  // namespace gdi
