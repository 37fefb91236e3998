// Handles: creation, selection and deletion of drawing objects and device contexts.
#include "platform/gdi/internal/objects.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/gdi/internal/surface.h"
#include "platform/gdi/internal/window_dc.h"

namespace gdi {

namespace {

// Disguised so that the registry alone does not keep a forgotten object reachable.
constexpr std::uintptr_t kDisguise = static_cast<std::uintptr_t>(0xA5C3F00DB16B00B5ull);
std::uintptr_t Key(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p) ^ kDisguise;
}

// An open-addressing table: drawing creates and deletes a pen and a brush for every wall it
// draws, so registering must not allocate each time.
class Table {
  public:
    static constexpr std::uintptr_t kEmpty = 0, kGone = 1;

    void Insert(std::uintptr_t key, Kind kind) {
        if ((used_ + 1) * 2 > keys_.size()) Grow();
        std::size_t i = Slot(key);
        while (keys_[i] != kEmpty && keys_[i] != kGone && keys_[i] != key) i = (i + 1) & mask_;
        if (keys_[i] == kEmpty) ++used_;
        keys_[i] = key;
        kinds_[i] = kind;
    }
    const Kind* Find(std::uintptr_t key) const {
        if (keys_.empty()) return nullptr;
        for (std::size_t i = Slot(key); keys_[i] != kEmpty; i = (i + 1) & mask_)
            if (keys_[i] == key) return &kinds_[i];
        return nullptr;
    }
    void Erase(std::uintptr_t key) {
        if (keys_.empty()) return;
        for (std::size_t i = Slot(key); keys_[i] != kEmpty; i = (i + 1) & mask_)
            if (keys_[i] == key) {
                keys_[i] = kGone;
                return;
            }
    }
    template <typename F>
    void ForEach(F f) const {
        for (std::size_t i = 0; i < keys_.size(); ++i)
            if (keys_[i] != kEmpty && keys_[i] != kGone) f(keys_[i], kinds_[i]);
    }

  private:
    std::size_t Slot(std::uintptr_t key) const {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 20) & mask_;
    }
    void Grow() {
        std::vector<std::uintptr_t> keys = std::move(keys_);
        std::vector<Kind> kinds = std::move(kinds_);
        std::size_t live = 0;
        for (std::uintptr_t k : keys) live += k != kEmpty && k != kGone;
        std::size_t size = 64;
        while (size < live * 4) size *= 2;
        keys_.assign(size, kEmpty);
        kinds_.assign(size, Kind::Bitmap);
        mask_ = size - 1;
        used_ = 0;
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] != kEmpty && keys[i] != kGone) Insert(keys[i], kinds[i]);
    }

    std::vector<std::uintptr_t> keys_;
    std::vector<Kind> kinds_;
    std::size_t mask_ = 0;
    std::size_t used_ = 0;  // slots not empty, tombstones included
};

Table& Registry() {
    static Table registry;
    return registry;
}

int liveObjects = 0;

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

DeviceContextObject* NewDC(bool window, Bitmap* bitmap) {
    auto* dc = new DeviceContextObject;
    dc->window = window;
    dc->bitmap = bitmap;
    if (!window) bitmap->selectedInto = dc;
    dc->pen = Stocks().blackPen;
    dc->brush = Stocks().brushes[WHITE_BRUSH];
    ++dc->pen->selections;
    ++dc->brush->selections;
    UpdateVisible(*dc);
    Register(dc, Kind::DC);
    return dc;
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
    Register(b, Kind::Bitmap);
    ++liveObjects;
    return b;
}

void Register(const void* object, Kind kind) {
    Registry().Insert(Key(object), kind);
}
void Unregister(const void* object) {
    Registry().Erase(Key(object));
}

bool LiveKind(const void* object, Kind* kind) {
    if (!object) return false;
    Stocks();  // stock objects register on first use
    const Kind* found = Registry().Find(Key(object));
    if (!found) return false;
    *kind = *found;
    return true;
}

bool IsLive(const void* object, Kind kind) {
    Kind k;
    return LiveKind(object, &k) && k == kind;
}

DeviceContextObject* Dc(HDC dc) {
    if (!IsLive(dc, Kind::DC)) return nullptr;
    return dc->bitmap ? dc : nullptr;
}

Bitmap* AsBitmap(HGDIOBJ o) {
    return IsLive(o, Kind::Bitmap) ? static_cast<Bitmap*>(o) : nullptr;
}
Brush* AsBrush(HGDIOBJ o) {
    return IsLive(o, Kind::Brush) ? static_cast<Brush*>(o) : nullptr;
}
Pen* AsPen(HGDIOBJ o) {
    return IsLive(o, Kind::Pen) ? static_cast<Pen*>(o) : nullptr;
}

void UpdateVisible(DeviceContextObject& dc) {
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
    Register(b, Kind::Bitmap);
    ++liveObjects;
    return b;
}

HDC CreateWindowDC(HBITMAP surface) {
    Bitmap* b = AsBitmap(surface);
    if (!b || b->bitsPerPixel != 32) return nullptr;
    return NewDC(true, b);
}

namespace {
bool IsWindowDC(HDC dc) {
    return IsLive(dc, Kind::DC) && dc->window;
}
}  // namespace

BOOL SetWindowDCOrigin(HDC handle, POINT origin) {
    if (!IsWindowDC(handle)) return FALSE;
    handle->origin = origin;
    return TRUE;
}

BOOL SetWindowDCClip(HDC handle, const RECT* rects, int count) {
    if (!IsWindowDC(handle) || count < 0 || (count > 0 && !rects)) return FALSE;
    handle->clipped = true;
    handle->clip.assign(rects, rects + count);
    UpdateVisible(*handle);
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
    return NewDC(false, StockMonoBitmap());
}

BOOL DeleteDC(HDC handle) {
    if (!IsLive(handle, Kind::DC)) return FALSE;
    DeviceContextObject* dc = handle;
    if (!dc->window && dc->bitmap) dc->bitmap->selectedInto = nullptr;
    Deselect(dc->pen);
    Deselect(dc->brush);
    Unregister(dc);
    delete dc;
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC handle, int width, int height) {
    int bits = 32;
    if (handle) {
        if (!IsLive(handle, Kind::DC)) return nullptr;
        if (!handle->window && handle->bitmap) bits = handle->bitmap->bitsPerPixel;
    }
    Bitmap* b = NewBitmap(width, height, bits);
    if (b && bits != 32 && bits != 1) b->palette = handle->bitmap->palette;
    return b;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32)) return nullptr;
    Bitmap* b = NewBitmap(width, height, static_cast<int>(bitsPerPixel));
    if (!b || !bits) return b;
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
    return b;
}

HGDIOBJ GetStockObject(int object) {
    if (Pen* pen = StockPen(object)) return pen;
    return StockBrush(object);
}

HPEN CreatePen(int style, int width, COLORREF colour) {
    if (style != PS_SOLID && style != PS_NULL) return nullptr;
    Pen* pen = new Pen;
    pen->style = style;
    pen->width = std::max(1, width);
    pen->colour = ToPixel(colour);
    Register(pen, Kind::Pen);
    ++liveObjects;
    return pen;
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    Brush* brush = new Brush;
    brush->colour = ToPixel(colour);
    Register(brush, Kind::Brush);
    ++liveObjects;
    return brush;
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
    Register(brush, Kind::Brush);
    ++liveObjects;
    return brush;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
    if (!IsLive(handle, Kind::DC)) return nullptr;
    DeviceContextObject* dc = handle;
    Kind kind;
    if (!LiveKind(object, &kind)) return nullptr;
    switch (kind) {
        case Kind::Pen: {
            Pen* old = dc->pen;
            dc->pen = static_cast<Pen*>(object);
            ++dc->pen->selections;
            Deselect(old);
            return old;
        }
        case Kind::Brush: {
            Brush* old = dc->brush;
            dc->brush = static_cast<Brush*>(object);
            ++dc->brush->selections;
            Deselect(old);
            return old;
        }
        case Kind::Bitmap: {
            Bitmap* b = static_cast<Bitmap*>(object);
            if (dc->window) return nullptr;
            if (b == dc->bitmap) return b;
            // One bitmap, one DC; the stock monochrome bitmap may sit in any number.
            if (b->selectedInto && !b->stock) return nullptr;
            Bitmap* old = dc->bitmap;
            if (!old->stock) old->selectedInto = nullptr;
            dc->bitmap = b;
            if (!b->stock) b->selectedInto = dc;
            UpdateVisible(*dc);
            return old;
        }
        case Kind::DC:
            return nullptr;
    }
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
    Kind kind;
    if (!LiveKind(object, &kind)) return FALSE;
    switch (kind) {
        case Kind::Pen: {
            Pen* pen = static_cast<Pen*>(object);
            if (pen->stock) return TRUE;
            if (pen->selections > 0) return FALSE;
            Unregister(pen);
            delete pen;
            break;
        }
        case Kind::Brush: {
            Brush* brush = static_cast<Brush*>(object);
            if (brush->stock) return TRUE;
            if (brush->selections > 0) return FALSE;
            Unregister(brush);
            delete brush;
            break;
        }
        case Kind::Bitmap: {
            Bitmap* b = static_cast<Bitmap*>(object);
            if (b->stock) return TRUE;
            if (b->selectedInto) return FALSE;
            // A window DC drawing on this surface would be left pointing at nothing: refuse.
            bool inUse = false;
            Registry().ForEach([&](std::uintptr_t key, Kind k) {
                if (k == Kind::DC &&
                    reinterpret_cast<DeviceContextObject*>(key ^ kDisguise)->bitmap == b)
                    inUse = true;
            });
            if (inUse) return FALSE;
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

COLORREF SetTextColor(HDC dc, COLORREF colour) {
    if (!IsLive(dc, Kind::DC)) return CLR_INVALID;
    return std::exchange(dc->textColour, colour & 0x00FFFFFF);
}

COLORREF SetBkColor(HDC dc, COLORREF colour) {
    if (!IsLive(dc, Kind::DC)) return CLR_INVALID;
    return std::exchange(dc->bkColour, colour & 0x00FFFFFF);
}

int SetBkMode(HDC dc, int mode) {
    if (!IsLive(dc, Kind::DC) || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
    return std::exchange(dc->bkMode, mode);
}
