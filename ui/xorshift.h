// xorshift32: a small generator, seedable and the same on every machine. The intro's stars and
// the soak's events both draw from it. A state of 0 stays 0: seed it with anything else.
#pragma once

#include <cstdint>

struct Xorshift32 {
    std::uint32_t state;
    std::uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
};
