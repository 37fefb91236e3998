// The drawing layer's own objects behind the handles, and the table that turns a handle back
// into one. Only the drawing layer includes this.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/gdi.h"

namespace gdi {

enum class Kind : std::uint8_t { Bitmap, Pen, Brush, DC };

// What every object behind a handle keeps: the handle that names it, 0 while it has none.
struct Named {
    std::uintptr_t handle = 0;
};

struct DeviceContext;

struct Bitmap : Named {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;
    // 32 bits: words, possibly on pixels the bitmap does not own (the screen).
    std::vector<std::uint32_t> ownWords;
    std::uint32_t* words = nullptr;
    int stride = 0;
    // 1, 4 and 8 bits: one palette index a byte, and the full palette of 2^bits entries.
    std::vector<std::uint8_t> indices;
    std::vector<std::uint32_t> palette;
    DeviceContext* selectedInto = nullptr;
    bool stock = false;
    // Nearest palette entry of the last colour asked for: drawing repeats one colour a lot.
    std::uint32_t lastColour = 0xFFFFFFFF;
    std::uint8_t lastIndex = 0;

    bool IsPalettized() const { return bitsPerPixel < 32; }
    std::uint32_t AllBits() const {
        return bitsPerPixel == 32 ? 0x00FFFFFFu : (1u << bitsPerPixel) - 1;
    }
};

struct Pen : Named {
    int style = PS_SOLID;
    int width = 1;
    std::uint32_t colour = 0;  // pixel word
    bool stock = false;
    int selections = 0;
};

struct Brush : Named {
    enum Style { Solid, Null, Pattern } style = Solid;
    std::uint32_t colour = 0;  // pixel word
    // Pattern: a copy of the bitmap. A monochrome pattern keeps its bits and takes the device
    // context's text (0) and background (1) colours when it paints. A pattern from a palette
    // bitmap keeps its indices and that palette, so that making one (the intro does, every
    // frame) is a plain copy.
    int patternWidth = 0;
    int patternHeight = 0;
    bool patternMono = false;
    std::vector<std::uint32_t> pattern;        // pixels, or a monochrome pattern's bits
    std::vector<std::uint8_t> patternIndices;  // or a palette bitmap's indices
    std::vector<std::uint32_t> patternPalette;
    std::uint32_t PatternPixel(std::size_t i) const {
        return patternIndices.empty() ? pattern[i] : patternPalette[patternIndices[i]];
    }
    bool stock = false;
    int selections = 0;
};

struct DeviceContext : Named {
    bool window = false;
    Bitmap* bitmap = nullptr;  // what it draws on: selected bitmap or window surface
    Pen* pen = nullptr;
    Brush* brush = nullptr;
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF bkColour = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    POINT origin{0, 0};  // surface position of logical (0, 0)
    bool clipped = false;
    std::vector<RECT> clip;  // surface coordinates
    // The clip as it applies now: clip rectangles cut to the surface, in surface coordinates.
    std::vector<RECT> visible;
    RECT visibleBounds{0, 0, 0, 0};
};

// The handle table. A handle is its object's slot in the table and the slot's generation, which
// goes up each time an object leaves the slot: the handle of a deleted object names nothing
// ever after, even once a new object has taken its slot or its memory. The table keeps its
// objects' addresses disguised, so that an object the program forgot to delete still shows up
// as a leak under LeakSanitizer.
//
// Register gives the object its handle; false, with no handle given, when the table is full
// (the call creating the object then fails). Unregister ends the handle.
bool Register(Named* object, Kind kind);
void Unregister(Named* object);
// The live object a handle names: of the kind asked for, or of any kind (its kind in *kind).
Named* Lookup(const void* handle, Kind kind);
Named* LookupAny(const void* handle, Kind* kind);

DeviceContext* AsDc(HDC dc);       // null unless a live DC
DeviceContext* Dc(HDC dc);         // null unless a live DC with something to draw on
Bitmap* AsBitmap(HGDIOBJ object);  // null unless a live bitmap
Brush* AsBrush(HGDIOBJ object);
Pen* AsPen(HGDIOBJ object);

inline HBITMAP HandleOf(const Bitmap* b) {
    return b ? reinterpret_cast<HBITMAP>(b->handle) : nullptr;
}
inline HPEN HandleOf(const Pen* p) {
    return p ? reinterpret_cast<HPEN>(p->handle) : nullptr;
}
inline HBRUSH HandleOf(const Brush* b) {
    return b ? reinterpret_cast<HBRUSH>(b->handle) : nullptr;
}
inline HDC HandleOf(const DeviceContext* dc) {
    return dc ? reinterpret_cast<HDC>(dc->handle) : nullptr;
}

// Recomputes DeviceContext::visible after a change of bitmap, origin or clip.
void UpdateVisible(DeviceContext& dc);

// A new bitmap, all black (palette entry 0), counted as a live object; null for a bad size.
// A palette bitmap takes its width x height indices from `indices` instead when given.
Bitmap* NewBitmap(int width, int height, int bitsPerPixel, const std::uint8_t* indices = nullptr);

Bitmap* StockMonoBitmap();
Pen* StockPen(int which);
Brush* StockBrush(int which);

}  // namespace gdi
