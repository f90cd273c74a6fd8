#pragma once

#include "games/arcadetypes.h"

// A uniform draw from the closed range lo...hi (both ends reachable).
inline double closedUniform(Random &random, double lo, double hi)
{
    return lo + (hi - lo) * closedUnit(random);
}
