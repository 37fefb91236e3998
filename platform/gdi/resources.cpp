#include "platform/gdi/resources.h"

#include <vector>

#include "platform/gdi/objects.h"

namespace gdi {

namespace {

struct Table {
    const PictureResource* pictures;
    std::size_t count;
};

std::vector<Table>& Tables() {
    static std::vector<Table> tables;
    return tables;
}

const PictureResource* Find(WORD id) {
    for (const Table& t : Tables())
        for (std::size_t i = 0; i < t.count; ++i)
            if (t.pictures[i].id == id) return &t.pictures[i];
    return nullptr;
}

}  // namespace

void RegisterPictures(const PictureResource* table, std::size_t count) {
    if (table && count) Tables().push_back({table, count});
}

HBITMAP BitmapFromPicture(const PictureResource& p) {
    int bits = p.bitsPerPixel;
    if (p.width <= 0 || p.height <= 0 || !p.indices || !p.palette || p.paletteSize <= 0)
        return nullptr;
    if (bits != 32 && p.paletteSize > (1 << bits)) return nullptr;
    std::size_t n = static_cast<std::size_t>(p.width) * p.height;
    for (std::size_t i = 0; i < n; ++i)
        if (p.indices[i] >= p.paletteSize) return nullptr;
    Bitmap* b = NewBitmap(p.width, p.height, bits);
    if (!b) return nullptr;
    if (bits == 32) {
        for (std::size_t i = 0; i < n; ++i) b->words[i] = p.palette[p.indices[i]] & 0x00FFFFFF;
    } else {
        if (bits != 1)
            for (int i = 0; i < p.paletteSize; ++i) b->palette[i] = p.palette[i] & 0x00FFFFFF;
        b->indices.assign(p.indices, p.indices + n);
    }
    return b;
}

}  // namespace gdi

HBITMAP LoadBitmapW(HINSTANCE, LPCWSTR name) {
    // The program is one module: every registered table is its own.
    if (!IS_INTRESOURCE(name) || !name) return nullptr;
    const gdi::PictureResource* p =
        gdi::Find(static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name)));
    return p ? gdi::BitmapFromPicture(*p) : nullptr;
}
