#include "look/mascotviews.h"

#include <algorithm>
#include <cmath>

namespace Decorations {

MascotMetrics mascotMetrics(double s, bool blink, double legs)
{
    MascotMetrics m;
    m.eyeWidth = 0.15 * s;
    m.eyeHeight = (blink ? 0.05 : 0.16) * s;
    m.eyeSpacing = 0.18 * s;
    m.smileWidth = 0.64 * s;
    m.smileHeight = 0.28 * s;
    m.smileLine = std::max(0.08 * s, 1.5);
    m.faceSpacing = 0.07 * s;
    m.faceHeight = 0.78 * s;
    m.showsLegs = legs > 0;
    m.legWidth = 0.09 * s;
    m.legHeight = 0.22 * s;
    m.legSpacing = 0.22 * s;
    m.legDrop = 0.18 * s;
    if (m.showsLegs) {
        m.firstLegOffset = 0.06 * s * std::sin(legs);
        m.secondLegOffset = 0.06 * s * std::sin(legs + M_PI);
    }
    return m;
}

bool mascotSways(double tilt, double legs)
{
    return std::abs(tilt) < 0.1 && legs <= 0;
}

Sway mascotSway(bool active, double t)
{
    if (!active)
        return {};
    const double p = std::sin(2.2 * t);
    return {1.2 * p, 2.4 * p};
}

} // namespace Decorations

MascotMetrics MascotViews::mascotMetrics(double size, bool blink, double legs) const
{
    return Decorations::mascotMetrics(size, blink, legs);
}

bool MascotViews::mascotSways(double tilt, double legs) const { return Decorations::mascotSways(tilt, legs); }
MascotSway MascotViews::mascotSway(bool active, double t) const { return Decorations::mascotSway(active, t); }
