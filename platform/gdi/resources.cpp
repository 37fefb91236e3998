#include "platform/gdi/internal/resources.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/internal/objects.h"

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

namespace {

bool Consistent(const PictureResource& p) {
    if (p.width <= 0 || p.height <= 0 || !p.indices || !p.palette || p.paletteSize <= 0)
        return false;
    if (p.bitsPerPixel != 32 && p.paletteSize > (1 << p.bitsPerPixel)) return false;
    std::size_t n = static_cast<std::size_t>(p.width) * p.height;
    for (std::size_t i = 0; i < n; ++i)
        if (p.indices[i] >= p.paletteSize) return false;
    return true;
}

// A consistent record, already checked. The intro loads its pictures on every frame, and
// checking each index again each time cost more than drawing them.
HBITMAP MakeBitmap(const PictureResource& p) {
    int bits = p.bitsPerPixel;
    std::size_t n = static_cast<std::size_t>(p.width) * p.height;
    Bitmap* b = NewBitmap(p.width, p.height, bits, bits == 32 ? nullptr : p.indices);
    if (!b) return nullptr;
    if (bits == 32) {
        for (std::size_t i = 0; i < n; ++i) b->words[i] = p.palette[p.indices[i]] & 0x00FFFFFF;
    } else if (bits != 1) {
        for (int i = 0; i < p.paletteSize; ++i) b->palette[i] = p.palette[i] & 0x00FFFFFF;
    }
    return HandleOf(b);
}

}  // namespace

HBITMAP BitmapFromPicture(const PictureResource& p) {
    return Consistent(p) ? MakeBitmap(p) : nullptr;
}

}  // namespace gdi

HBITMAP LoadBitmapW(HINSTANCE, LPCWSTR name) {
    // The program is one module: every registered table is its own.
    if (!IS_INTRESOURCE(name) || !name) return nullptr;
    const gdi::PictureResource* p =
        gdi::Find(static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name)));
    if (!p) return nullptr;
    // Registered records are constant, so each needs checking only once.
    static std::vector<const gdi::PictureResource*> checked;
    if (std::find(checked.begin(), checked.end(), p) == checked.end()) {
        if (!gdi::Consistent(*p)) return nullptr;
        checked.push_back(p);
    }
    return gdi::MakeBitmap(*p);
}
