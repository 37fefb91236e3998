#include "platform/backend/sdl/window_scale.h"

#include <algorithm>

namespace backend {

namespace {
constexpr int kWide = 240, kHigh = 320;
constexpr int kFrameHigh = 48, kFrameWide = 16;
}  // namespace

int FittingScale(int usableWidth, int usableHeight) {
    if (usableWidth <= 0 || usableHeight <= 0) return 2;
    const long roomWide = static_cast<long>(usableWidth) * 19 / 20 - kFrameWide;
    const long roomHigh = static_cast<long>(usableHeight) * 19 / 20 - kFrameHigh;
    const long scale = std::min(roomWide / kWide, roomHigh / kHigh);
    return static_cast<int>(std::clamp<long>(scale, 1, kLargestScale));
}

int ScaleOfWindow(int width, int height) {
    return std::max(1, std::min(width / kWide, height / kHigh));
}

}  // namespace backend
