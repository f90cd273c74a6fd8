#pragma once

#include "random.h"

#include <cstdint>

// Draws on closed ranges: both ends can come up. u is one of 2^53 + 1
// equally likely values from 0 to 1, so 1 itself is reachable.
inline double closedUnit(Random &random)
{
    constexpr std::uint64_t top = std::uint64_t(1) << 53;
    for (;;) {
        // 54 bits cover 0...2^54 - 1; keep the draws in 0...2^53 (rejection
        // keeps every value equally likely).
        const std::uint64_t v = random.next() >> 10;
        if (v <= top)
            return double(v) / double(top);
    }
}

inline double closedUniform(Random &random, double lo, double hi)
{
    return lo + (hi - lo) * closedUnit(random);
}
