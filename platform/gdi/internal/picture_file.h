// The text form of a bitmap resource, one picture a file:
//
//   # comment
//   picture kGlyphs 48 16 1      id, width, height, bits per pixel (1, 4, 8 or 32)
//   colour . FFFFFF              a character and its colour, palette entries in order
//   colour # 000000
//   |..##..|                     one row of exactly `width` characters between bars
//
// The id is a number from 1 to 65535, or the name of the program's constant that holds it, so
// that the number is written once, where the program names its resources. A 1-bit picture may
// use only black and white; palette index 0 is black and 1 white whatever the order of the
// colour lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gdi {

struct Picture {
    std::string id;  // a number or a constant's name, as written
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::vector<std::uint8_t> indices;   // width × height
};

// Empty on success, otherwise "line N: what is wrong".
std::string ParsePicture(std::string_view text, Picture* picture);

// Reads and parses the picture file at `path`. Empty on success, otherwise "PATH: what is
// wrong", ready to print.
std::string ReadPictureFile(const std::string& path, Picture* picture);

}  // namespace gdi
