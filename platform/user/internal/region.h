// A set of pixels as a set of rectangles (pixman's 32-bit region), the shape of invalid and
// visible areas. Coordinates follow the platform: right and bottom edges exclusive.
#pragma once

#include <pixman.h>

#include <vector>

#include "platform/win_types.h"

namespace user {

class Region {
  public:
    Region();
    explicit Region(const RECT& rect);
    Region(const Region& other);
    Region(Region&& other) noexcept;
    Region& operator=(const Region& other);
    Region& operator=(Region&& other) noexcept;
    ~Region();

    bool IsEmpty() const;
    RECT Extents() const;  // all zero when empty
    std::vector<RECT> Rects() const;
    bool Contains(int x, int y) const;
    bool operator==(const Region& other) const;

    void Clear();
    void Union(const Region& other);
    void Union(const RECT& rect);
    void Intersect(const Region& other);
    void Intersect(const RECT& rect);
    void Subtract(const Region& other);
    void Subtract(const RECT& rect);
    void Translate(int dx, int dy);

  private:
    pixman_region32_t region_;
};

}  // namespace user
