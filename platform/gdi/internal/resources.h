// The program's own bitmap resources. Pictures are written as text (resources/*.xpm-like
// files, see picture_file.h) and turned into these records at build time by velquin-picture,
// which the CMake function velquin_pictures() runs; LoadBitmapW looks them up by id.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gdi/gdi.h"

namespace gdi {

struct PictureResource {
    WORD id;
    const char* name;  // the picture's file name, for messages
    int width;
    int height;
    int bitsPerPixel;              // 1, 4, 8 or 32
    const std::uint32_t* palette;  // 0x00RRGGBB; for 1 bit: black then white
    int paletteSize;
    const unsigned char* indices;  // width × height palette indices, row after row
};

// The generated table of each program registers itself before main() runs. A later table
// does not replace an id an earlier one has.
void RegisterPictures(const PictureResource* table, std::size_t count);

// A new bitmap of the picture's depth and palette; null when the record is inconsistent.
HBITMAP BitmapFromPicture(const PictureResource& picture);

}  // namespace gdi
