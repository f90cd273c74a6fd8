#pragma once

#include <QString>

// A double in its shortest round-trip decimal form, the way the island's
// record ids and request addresses write numbers: whole values keep ".0"
// ("1767603600.0", "52.0"), and very large or very small ones use an exponent
// ("1e-05", "1e+16").
QString shortestDoubleText(double value);
