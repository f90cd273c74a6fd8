#pragma once

#include "core/random.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>

// Scripts an engine's random choices: the first seed whose generator, taken
// through the same draws the engine is expected to make, satisfies `draws`.
inline std::uint64_t seedWhere(const std::function<bool(Random &)> &draws)
{
    for (std::uint64_t seed = 1; seed < 100000; ++seed) {
        Random r(seed);
        if (draws(r))
            return seed;
    }
    ADD_FAILURE() << "no seed fits";
    return 0;
}
