#include "platform/clock/clock.h"

#include <chrono>

namespace {

DWORD SteadyTicks() {
    static const auto start = std::chrono::steady_clock::now();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    return static_cast<DWORD>(ms.count());
}

TickSource tickSource = nullptr;

}  // namespace

DWORD GetTickCount() {
    return tickSource ? tickSource() : SteadyTicks();
}

void SetTickSource(TickSource source) {
    tickSource = source;
}
