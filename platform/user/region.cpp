#include "platform/user/internal/region.h"

#include <cstddef>

namespace user {
namespace {

// Puts a rectangle's coordinates in order; an empty one becomes 0,0,0,0.
pixman_box32_t Box(const RECT& r) {
    pixman_box32_t b{r.left, r.top, r.right, r.bottom};
    if (b.x1 >= b.x2 || b.y1 >= b.y2) b = {0, 0, 0, 0};
    return b;
}

}  // namespace

Region::Region() {
    pixman_region32_init(&region_);
}

Region::Region(const RECT& rect) {
    pixman_box32_t b = Box(rect);
    pixman_region32_init_rect(&region_, b.x1, b.y1, static_cast<unsigned>(b.x2 - b.x1),
                              static_cast<unsigned>(b.y2 - b.y1));
}

Region::Region(const Region& other) {
    pixman_region32_init(&region_);
    pixman_region32_copy(&region_, &other.region_);
}

Region::Region(Region&& other) noexcept {
    pixman_region32_init(&region_);
    pixman_region32_copy(&region_, &other.region_);
}

Region& Region::operator=(const Region& other) {
    if (this != &other) pixman_region32_copy(&region_, &other.region_);
    return *this;
}

Region& Region::operator=(Region&& other) noexcept {
    return *this = other;
}

Region::~Region() {
    pixman_region32_fini(&region_);
}

bool Region::IsEmpty() const {
    return !pixman_region32_not_empty(const_cast<pixman_region32_t*>(&region_));
}

RECT Region::Extents() const {
    if (IsEmpty()) return {0, 0, 0, 0};
    const pixman_box32_t* e = pixman_region32_extents(const_cast<pixman_region32_t*>(&region_));
    return {e->x1, e->y1, e->x2, e->y2};
}

std::vector<RECT> Region::Rects() const {
    int n = 0;
    const pixman_box32_t* boxes =
        pixman_region32_rectangles(const_cast<pixman_region32_t*>(&region_), &n);
    std::vector<RECT> out;
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) out.push_back({boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    return out;
}

bool Region::Contains(int x, int y) const {
    return pixman_region32_contains_point(const_cast<pixman_region32_t*>(&region_), x, y,
                                          nullptr) != 0;
}

bool Region::operator==(const Region& other) const {
    return pixman_region32_equal(const_cast<pixman_region32_t*>(&region_),
                                 const_cast<pixman_region32_t*>(&other.region_)) != 0;
}

void Region::Clear() {
    pixman_region32_clear(&region_);
}

void Region::Union(const Region& other) {
    pixman_region32_union(&region_, &region_, const_cast<pixman_region32_t*>(&other.region_));
}

void Region::Union(const RECT& rect) {
    Union(Region(rect));
}

void Region::Intersect(const Region& other) {
    pixman_region32_intersect(&region_, &region_, const_cast<pixman_region32_t*>(&other.region_));
}

void Region::Intersect(const RECT& rect) {
    Intersect(Region(rect));
}

void Region::Subtract(const Region& other) {
    pixman_region32_subtract(&region_, &region_, const_cast<pixman_region32_t*>(&other.region_));
}

void Region::Subtract(const RECT& rect) {
    Subtract(Region(rect));
}

void Region::Translate(int dx, int dy) {
    pixman_region32_translate(&region_, dx, dy);
}

}  // namespace user
