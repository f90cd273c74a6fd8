#include "island/decorations.h"

#include "style/palette.h"

#include <algorithm>
#include <cmath>

namespace Decorations {

double referenceSeconds(const QDateTime &date)
{
    return double(date.toMSecsSinceEpoch()) / 1000.0 - referenceEpoch;
}

namespace {
// A modulo that stays in [0, m) for dates before 2001 as well.
double wrap(double v, double m)
{
    const double r = std::fmod(v, m);
    return r < 0 ? r + m : r;
}
} // namespace

HandAngles clockHandAngles(double t)
{
    HandAngles a;
    a.second = wrap(t, 60) / 60 * 360;
    a.minute = wrap(t / 60, 60) / 60 * 360;
    a.hour = wrap(t / 3600, 12) / 12 * 360;
    return a;
}

ClockMetrics clockMetrics(double s)
{
    ClockMetrics m;
    m.ring = std::max(0.08 * s, 1.0);
    m.hourLength = 0.28 * s;
    m.hourWidth = std::max(0.09 * s, 1.1);
    m.minuteLength = 0.4 * s;
    m.minuteWidth = std::max(0.07 * s, 0.9);
    m.secondLength = 0.44 * s;
    m.secondWidth = std::max(0.045 * s, 0.6);
    m.dot = std::max(0.12 * s, 1.4);
    return m;
}

namespace {
constexpr double stepPoints = 0.25;

int frameInterval(double pointsPerSecond, int capMs)
{
    if (pointsPerSecond <= 0)
        return 1000;
    return std::clamp(int(1000 * stepPoints / pointsPerSecond), capMs, 1000);
}
} // namespace

int clockFrameIntervalMs(double size)
{
    // The second hand's tip travels a full circle a minute.
    const double tip = clockMetrics(size).secondLength * 2 * M_PI / 60;
    return frameInterval(tip, 1000 / 30 + 1);
}

int smileFrameIntervalMs()
{
    // The fastest the 14 pt wide face grows or shrinks: d/dt of its scale
    // is at most 0.04 × 1.6.
    return frameInterval(0.04 * 1.6 * 14, 50);
}

IdleChoice collapsedIdle(bool playing, bool showVisualizer, bool showSmile, bool timerRunning)
{
    IdleChoice c;
    c.height = timerRunning ? 14 : 10;
    if (timerRunning)
        c.indicator = IdleIndicator::clock;
    else if (playing && showVisualizer)
        c.indicator = IdleIndicator::bars;
    else if (showSmile)
        c.indicator = IdleIndicator::smile;
    return c;
}

double smileScale(double t)
{
    return 0.94 + 0.04 * (std::sin(1.6 * t) + 1);
}

SmileMetrics smileMetrics() { return {}; }

double smileEyeHeight(bool blinking)
{
    return blinking ? 0.5 : 1.8;
}

QColor rimColor(AmbientKind kind)
{
    switch (kind) {
    case AmbientKind::rest: return Palette::yellowColor;
    case AmbientKind::bluetooth: return Palette::blueColor;
    case AmbientKind::lowPower: return Palette::orangeColor;
    case AmbientKind::eyeStrain: return Palette::coralColor;
    case AmbientKind::tooClose: return Palette::amberColor;
    case AmbientKind::mirror: return Palette::mintColor;
    }
    return Palette::yellowColor;
}

double rimAngularSpeed(AmbientKind kind)
{
    return kind == AmbientKind::bluetooth ? 1.45 : 2.4;
}

double rimPulse(AmbientKind kind, double t)
{
    return (std::sin(rimAngularSpeed(kind) * t) + 1) / 2;
}

double rimHaloOpacity(double p) { return 0.28 + 0.36 * p; }
double rimLineOpacity(double p) { return 0.55 + 0.45 * p; }

RimLook rim(AmbientKind kind, double t)
{
    const double p = rimPulse(kind, t);
    RimLook r;
    r.color = rimColor(kind);
    r.halo = rimHaloOpacity(p);
    r.line = rimLineOpacity(p);
    return r;
}

} // namespace Decorations
