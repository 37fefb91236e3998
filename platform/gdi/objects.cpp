// Handles: creation, selection and deletion of drawing objects and device contexts.
#include "platform/gdi/internal/objects.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/gdi/internal/surface.h"
#include "platform/gdi/internal/window_dc.h"

namespace gdi {

namespace {

// Disguised so that the table alone does not keep a forgotten object reachable.
constexpr std::uintptr_t kDisguise = static_cast<std::uintptr_t>(0xA5C3F00DB16B00B5ull);

// A handle's low bits are its slot (slot 0 is never used, so no handle is 0), the bits above
// the slot's generation: 48 bits of it where handles are 64 bits wide, 16 where they are 32.
constexpr int kSlotBits = 16;
constexpr std::uintptr_t kSlotMask = (std::uintptr_t{1} << kSlotBits) - 1;
constexpr std::size_t kMaxSlots = kSlotMask;  // slots 1 .. 65535

struct Slot {
    std::uintptr_t object = 0;  // disguised; 0 while the slot is free
    std::uintptr_t generation = 0;
    Kind kind = Kind::Bitmap;
};

// Drawing creates and deletes a pen and a brush for every wall it draws, so a slot set free is
// the next one taken (and its generation tells its handles apart) and the table stops growing.
class Table {
  public:
    bool Insert(Named* object, Kind kind) {
        std::size_t i;
        if (!free_.empty()) {
            i = free_.back();
            free_.pop_back();
        } else if (slots_.size() < kMaxSlots + 1) {
            if (slots_.empty()) slots_.emplace_back();  // slot 0
            i = slots_.size();
            slots_.emplace_back();
        } else {
            return false;
        }
        Slot& s = slots_[i];
        s.object = reinterpret_cast<std::uintptr_t>(object) ^ kDisguise;
        s.kind = kind;
        object->handle = i | (s.generation << kSlotBits);
        return true;
    }
    void Erase(Named* object) {
        Slot* s = Find(object->handle);
        if (!s) return;
        s->object = 0;
        ++s->generation;
        free_.push_back(object->handle & kSlotMask);
        object->handle = 0;
    }
    Named* Get(std::uintptr_t handle, Kind* kind) const {
        const Slot* s = Find(handle);
        if (!s) return nullptr;
        *kind = s->kind;
        return reinterpret_cast<Named*>(s->object ^ kDisguise);
    }
    template <typename F>
    void ForEach(F f) const {
        for (const Slot& s : slots_)
            if (s.object) f(reinterpret_cast<Named*>(s.object ^ kDisguise), s.kind);
    }

  private:
    // The slot a handle names while its object lives there; null otherwise.
    const Slot* Find(std::uintptr_t handle) const {
        const std::size_t i = handle & kSlotMask;
        if (i == 0 || i >= slots_.size()) return nullptr;
        const Slot& s = slots_[i];
        const std::uintptr_t generation = s.generation & (~std::uintptr_t{0} >> kSlotBits);
        return s.object && (handle >> kSlotBits) == generation ? &s : nullptr;
    }
    Slot* Find(std::uintptr_t handle) {
        return const_cast<Slot*>(static_cast<const Table*>(this)->Find(handle));
    }

    std::vector<Slot> slots_;
    std::vector<std::size_t> free_;
};

Table& Handles() {
    static Table table;
    return table;
}

int liveObjects = 0;

// Registers a new object and counts it, or deletes it when the table is full.
template <typename T>
T* Adopt(T* object, Kind kind) {
    if (!Register(object, kind)) {
        delete object;
        return nullptr;
    }
    ++liveObjects;
    return object;
}

Bitmap* MakeStockMono() {
    static Bitmap mono;
    mono.width = 1;
    mono.height = 1;
    mono.bitsPerPixel = 1;
    mono.indices.assign(1, 0);
    mono.palette = {0x000000, 0xFFFFFF};
    mono.stock = true;
    Register(&mono, Kind::Bitmap);
    return &mono;
}

Pen* MakeStockPen(int style, std::uint32_t colour) {
    Pen* pen = new Pen;  // stock objects live as long as the program, reachable from below
    pen->style = style;
    pen->colour = colour;
    pen->stock = true;
    Register(pen, Kind::Pen);
    return pen;
}

Brush* MakeStockBrush(Brush::Style style, std::uint32_t colour) {
    Brush* brush = new Brush;
    brush->style = style;
    brush->colour = colour;
    brush->stock = true;
    Register(brush, Kind::Brush);
    return brush;
}

struct Stock {
    Pen* whitePen = MakeStockPen(PS_SOLID, 0xFFFFFF);
    Pen* blackPen = MakeStockPen(PS_SOLID, 0x000000);
    Pen* nullPen = MakeStockPen(PS_NULL, 0x000000);
    Brush* brushes[6] = {
        MakeStockBrush(Brush::Solid, 0xFFFFFF), MakeStockBrush(Brush::Solid, 0xC0C0C0),
        MakeStockBrush(Brush::Solid, 0x808080), MakeStockBrush(Brush::Solid, 0x404040),
        MakeStockBrush(Brush::Solid, 0x000000), MakeStockBrush(Brush::Null, 0x000000)};
};

Stock& Stocks() {
    static Stock stock;
    return stock;
}

void Deselect(Pen* pen) {
    if (pen) --pen->selections;
}
void Deselect(Brush* brush) {
    if (brush) --brush->selections;
}

DeviceContext* NewDC(bool window, Bitmap* bitmap) {
    auto* dc = new DeviceContext;
    if (!Register(dc, Kind::DC)) {
        delete dc;
        return nullptr;
    }
    dc->window = window;
    dc->bitmap = bitmap;
    if (!window) bitmap->selectedInto = dc;
    dc->pen = Stocks().blackPen;
    dc->brush = Stocks().brushes[WHITE_BRUSH];
    ++dc->pen->selections;
    ++dc->brush->selections;
    UpdateVisible(*dc);
    return dc;
}

// Whether a window DC draws on the bitmap (it is not selected into one, it is its surface).
bool SurfaceOfAWindowDC(const Bitmap* b) {
    bool found = false;
    Handles().ForEach([&](Named* object, Kind kind) {
        if (kind == Kind::DC && static_cast<DeviceContext*>(object)->bitmap == b) found = true;
    });
    return found;
}

}  // namespace

Bitmap* NewBitmap(int width, int height, int bitsPerPixel, const std::uint8_t* indices) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 32)
        return nullptr;
    Bitmap* b = new Bitmap;
    b->width = width;
    b->height = height;
    b->bitsPerPixel = bitsPerPixel;
    if (bitsPerPixel == 32) {
        b->ownWords.assign(static_cast<std::size_t>(width) * height, 0);
        b->words = b->ownWords.data();
        b->stride = width;
    } else {
        const std::size_t n = static_cast<std::size_t>(width) * height;
        if (indices)
            b->indices.assign(indices, indices + n);
        else
            b->indices.assign(n, 0);
        b->palette.assign(std::size_t{1} << bitsPerPixel, 0);
        if (bitsPerPixel == 1) b->palette = {0x000000, 0xFFFFFF};
    }
    return Adopt(b, Kind::Bitmap);
}

bool Register(Named* object, Kind kind) {
    return Handles().Insert(object, kind);
}
void Unregister(Named* object) {
    Handles().Erase(object);
}

Named* LookupAny(const void* handle, Kind* kind) {
    if (!handle) return nullptr;
    return Handles().Get(reinterpret_cast<std::uintptr_t>(handle), kind);
}

Named* Lookup(const void* handle, Kind kind) {
    Kind k;
    Named* object = LookupAny(handle, &k);
    return object && k == kind ? object : nullptr;
}

DeviceContext* AsDc(HDC dc) {
    return static_cast<DeviceContext*>(Lookup(dc, Kind::DC));
}

DeviceContext* Dc(HDC handle) {
    DeviceContext* dc = AsDc(handle);
    return dc && dc->bitmap ? dc : nullptr;
}

Bitmap* AsBitmap(HGDIOBJ o) {
    return static_cast<Bitmap*>(Lookup(o, Kind::Bitmap));
}
Brush* AsBrush(HGDIOBJ o) {
    return static_cast<Brush*>(Lookup(o, Kind::Brush));
}
Pen* AsPen(HGDIOBJ o) {
    return static_cast<Pen*>(Lookup(o, Kind::Pen));
}

void UpdateVisible(DeviceContext& dc) {
    dc.visible.clear();
    RECT surface{0, 0, dc.bitmap ? dc.bitmap->width : 0, dc.bitmap ? dc.bitmap->height : 0};
    auto add = [&](const RECT& r) {
        RECT c;
        if (IntersectRect(&c, &r, &surface)) dc.visible.push_back(c);
    };
    if (dc.clipped) {
        for (const RECT& r : dc.clip) add(r);
    } else {
        add(surface);
    }
    RECT bounds{0, 0, 0, 0};
    for (const RECT& r : dc.visible) UnionRect(&bounds, &bounds, &r);
    dc.visibleBounds = bounds;
}

Bitmap* StockMonoBitmap() {
    static Bitmap* mono = MakeStockMono();
    return mono;
}

Pen* StockPen(int which) {
    switch (which) {
        case WHITE_PEN:
            return Stocks().whitePen;
        case BLACK_PEN:
            return Stocks().blackPen;
        case NULL_PEN:
            return Stocks().nullPen;
        default:
            return nullptr;
    }
}

Brush* StockBrush(int which) {
    return which >= WHITE_BRUSH && which <= NULL_BRUSH ? Stocks().brushes[which] : nullptr;
}

HBITMAP CreateBitmapOnPixels(std::uint32_t* pixels, int width, int height, int stride) {
    if (!pixels || width <= 0 || height <= 0 || stride < width) return nullptr;
    Bitmap* b = new Bitmap;
    b->width = width;
    b->height = height;
    b->bitsPerPixel = 32;
    b->words = pixels;
    b->stride = stride;
    return HandleOf(Adopt(b, Kind::Bitmap));
}

HDC CreateWindowDC(HBITMAP surface) {
    Bitmap* b = AsBitmap(surface);
    if (!b || b->bitsPerPixel != 32) return nullptr;
    return HandleOf(NewDC(true, b));
}

namespace {
DeviceContext* WindowDC(HDC handle) {
    DeviceContext* dc = AsDc(handle);
    return dc && dc->window ? dc : nullptr;
}
}  // namespace

BOOL SetWindowDCOrigin(HDC handle, POINT origin) {
    DeviceContext* dc = WindowDC(handle);
    if (!dc) return FALSE;
    dc->origin = origin;
    return TRUE;
}

BOOL SetWindowDCClip(HDC handle, const RECT* rects, int count) {
    DeviceContext* dc = WindowDC(handle);
    if (!dc || count < 0 || (count > 0 && !rects)) return FALSE;
    dc->clipped = true;
    dc->clip.assign(rects, rects + count);
    UpdateVisible(*dc);
    return TRUE;
}

bool GetBitmapInfo(HBITMAP handle, BitmapInfo* info) {
    Bitmap* b = AsBitmap(handle);
    if (!b || !info) return false;
    *info = {b->width, b->height, b->bitsPerPixel};
    return true;
}

std::uint32_t BitmapPixel(HBITMAP handle, int x, int y) {
    Bitmap* b = AsBitmap(handle);
    if (!b || x < 0 || y < 0 || x >= b->width || y >= b->height) return 0;
    return b->bitsPerPixel == 32 ? b->words[y * b->stride + x] & 0x00FFFFFF
                                 : b->palette[b->indices[y * b->width + x]];
}

int BitmapIndex(HBITMAP handle, int x, int y) {
    Bitmap* b = AsBitmap(handle);
    if (!b || b->bitsPerPixel == 32 || x < 0 || y < 0 || x >= b->width || y >= b->height) return -1;
    return b->indices[y * b->width + x];
}

const std::uint32_t* BitmapRows(HBITMAP handle, int* stride) {
    Bitmap* b = AsBitmap(handle);
    if (!b || b->bitsPerPixel != 32) return nullptr;
    if (stride) *stride = b->stride;
    return b->words;
}

int LiveObjectCount() {
    return liveObjects;
}

}  // namespace gdi

using namespace gdi;

HDC CreateCompatibleDC(HDC) {
    return HandleOf(NewDC(false, StockMonoBitmap()));
}

BOOL DeleteDC(HDC handle) {
    DeviceContext* dc = AsDc(handle);
    if (!dc) return FALSE;
    if (!dc->window && dc->bitmap) dc->bitmap->selectedInto = nullptr;
    Deselect(dc->pen);
    Deselect(dc->brush);
    Unregister(dc);
    delete dc;
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC handle, int width, int height) {
    int bits = 32;
    DeviceContext* dc = AsDc(handle);
    if (handle && !dc) return nullptr;
    if (dc && !dc->window && dc->bitmap) bits = dc->bitmap->bitsPerPixel;
    Bitmap* b = NewBitmap(width, height, bits);
    if (b && bits != 32 && bits != 1) b->palette = dc->bitmap->palette;
    return HandleOf(b);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32)) return nullptr;
    Bitmap* b = NewBitmap(width, height, static_cast<int>(bitsPerPixel));
    if (!b || !bits) return HandleOf(b);
    const auto* bytes = static_cast<const std::uint8_t*>(bits);
    if (bitsPerPixel == 1) {
        int rowBytes = ((width + 15) / 16) * 2;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                b->indices[y * width + x] = (bytes[y * rowBytes + x / 8] >> (7 - x % 8)) & 1;
    } else {
        std::memcpy(b->words, bytes, sizeof(std::uint32_t) * width * height);
        for (std::uint32_t& w : b->ownWords) w &= 0x00FFFFFF;
    }
    return HandleOf(b);
}

HGDIOBJ GetStockObject(int object) {
    if (Pen* pen = StockPen(object)) return HandleOf(pen);
    return HandleOf(StockBrush(object));
}

HPEN CreatePen(int style, int width, COLORREF colour) {
    if (style != PS_SOLID && style != PS_NULL) return nullptr;
    Pen* pen = new Pen;
    pen->style = style;
    pen->width = std::max(1, width);
    pen->colour = ToPixel(colour);
    return HandleOf(Adopt(pen, Kind::Pen));
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    Brush* brush = new Brush;
    brush->colour = ToPixel(colour);
    return HandleOf(Adopt(brush, Kind::Brush));
}

HBRUSH CreatePatternBrush(HBITMAP handle) {
    Bitmap* b = AsBitmap(handle);
    if (!b) return nullptr;
    Brush* brush = new Brush;
    brush->style = Brush::Pattern;
    brush->patternWidth = b->width;
    brush->patternHeight = b->height;
    brush->patternMono = b->bitsPerPixel == 1;
    if (b->bitsPerPixel == 32) {
        brush->pattern.resize(static_cast<std::size_t>(b->width) * b->height);
        std::uint32_t* out = brush->pattern.data();
        for (int y = 0; y < b->height; ++y)
            for (int x = 0; x < b->width; ++x) *out++ = b->words[y * b->stride + x] & 0x00FFFFFF;
    } else if (brush->patternMono) {
        brush->pattern.assign(b->indices.begin(), b->indices.end());
    } else {
        brush->patternIndices = b->indices;
        brush->patternPalette = b->palette;
    }
    return HandleOf(Adopt(brush, Kind::Brush));
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
    DeviceContext* dc = AsDc(handle);
    if (!dc) return nullptr;
    Kind kind;
    Named* named = LookupAny(object, &kind);
    if (!named) return nullptr;
    switch (kind) {
        case Kind::Pen: {
            Pen* old = dc->pen;
            dc->pen = static_cast<Pen*>(named);
            ++dc->pen->selections;
            Deselect(old);
            return HandleOf(old);
        }
        case Kind::Brush: {
            Brush* old = dc->brush;
            dc->brush = static_cast<Brush*>(named);
            ++dc->brush->selections;
            Deselect(old);
            return HandleOf(old);
        }
        case Kind::Bitmap: {
            Bitmap* b = static_cast<Bitmap*>(named);
            if (dc->window) return nullptr;
            if (b == dc->bitmap) return HandleOf(b);
            // One bitmap, one DC; the stock monochrome bitmap may sit in any number.
            if (b->selectedInto && !b->stock) return nullptr;
            Bitmap* old = dc->bitmap;
            if (!old->stock) old->selectedInto = nullptr;
            dc->bitmap = b;
            if (!b->stock) b->selectedInto = dc;
            UpdateVisible(*dc);
            return HandleOf(old);
        }
        case Kind::DC:
            return nullptr;
    }
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
    Kind kind;
    Named* named = LookupAny(object, &kind);
    if (!named) return FALSE;
    switch (kind) {
        case Kind::Pen: {
            Pen* pen = static_cast<Pen*>(named);
            if (pen->stock) return TRUE;
            if (pen->selections > 0) return FALSE;
            Unregister(pen);
            delete pen;
            break;
        }
        case Kind::Brush: {
            Brush* brush = static_cast<Brush*>(named);
            if (brush->stock) return TRUE;
            if (brush->selections > 0) return FALSE;
            Unregister(brush);
            delete brush;
            break;
        }
        case Kind::Bitmap: {
            Bitmap* b = static_cast<Bitmap*>(named);
            if (b->stock) return TRUE;
            if (b->selectedInto) return FALSE;
            // A window DC drawing on this surface would be left pointing at nothing: refuse.
            if (SurfaceOfAWindowDC(b)) return FALSE;
            Unregister(b);
            delete b;
            break;
        }
        case Kind::DC:
            return FALSE;
    }
    --liveObjects;
    return TRUE;
}

COLORREF SetTextColor(HDC handle, COLORREF colour) {
    DeviceContext* dc = AsDc(handle);
    if (!dc) return CLR_INVALID;
    return std::exchange(dc->textColour, colour & 0x00FFFFFF);
}

COLORREF SetBkColor(HDC handle, COLORREF colour) {
    DeviceContext* dc = AsDc(handle);
    if (!dc) return CLR_INVALID;
    return std::exchange(dc->bkColour, colour & 0x00FFFFFF);
}

int SetBkMode(HDC handle, int mode) {
    DeviceContext* dc = AsDc(handle);
    if (!dc || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
    return std::exchange(dc->bkMode, mode);
}
