#pragma once

#include "services/ambientpulse.h"

#include <QDateTime>
#include <QString>

// The numbers behind the island's small self-animating decorations: the
// ticking clock, the side indicator of the collapsed island, the blinking
// smile, the glow rims and the mascot. Time is seconds since the start of
// 2001 (UTC), which the clock face shows.
namespace Decorations {

// 2001-01-01 00:00:00 UTC in Unix seconds.
constexpr double referenceEpoch = 978307200.0;
double referenceSeconds(const QDateTime &date);

// Hand angles in degrees, clockwise from twelve; they move smoothly.
struct HandAngles {
    double hour = 0;
    double minute = 0;
    double second = 0;
};
HandAngles clockHandAngles(double t);

// Stroke and hand sizes of a clock face of side size.
struct ClockMetrics {
    double ring = 0;
    double hourLength = 0, hourWidth = 0;
    double minuteLength = 0, minuteWidth = 0;
    double secondLength = 0, secondWidth = 0;
    double dot = 0;
};
ClockMetrics clockMetrics(double size);

// How often the self-drawn decorations redraw: as rarely as their fastest
// moving edge still advances by at most a quarter point a frame, and never
// more often than their caps (30 a second for the clock, 20 for the smile).
// At these sizes that keeps the motion smooth at a few frames a second.
int clockFrameIntervalMs(double size);
int smileFrameIntervalMs();

// The collapsed island's side indicator: first match of timer, bars, smile.
enum class IdleIndicator { none, clock, bars, smile };
struct IdleChoice {
    IdleIndicator indicator = IdleIndicator::none;
    double width = 14;
    double height = 10;
};
IdleChoice collapsedIdle(bool playing, bool showVisualizer, bool showSmile, bool timerRunning);

// One of the three playing bars: between 35 % and 100 % of the frame, never
// below 3 pt.
double playingBarHeight(double frameHeight, double t, int index);

// The smile's slow breathing, between 0.94 and 1.02.
double smileScale(double t);
// The blink loop: open, closing, closed, opening (seconds).
constexpr double blinkOpenSeconds = 3.4;
constexpr double blinkCloseSeconds = 0.07;
constexpr double blinkClosedSeconds = 0.11;
constexpr double blinkOpenAnimSeconds = 0.09;
// Eye height of the smile, open or blinking.
double smileEyeHeight(bool blinking);

// The palette colour of a status pulse's kind, for its rim and its mark.
QString rimColorName(AmbientKind kind);
double rimAngularSpeed(AmbientKind kind);
// 0...1 over one breath.
double rimPulse(AmbientKind kind, double t);
double rimHaloOpacity(double pulse);
double rimLineOpacity(double pulse);

// The mascot, every length a share of its size.
struct MascotMetrics {
    double eyeWidth = 0, eyeHeight = 0, eyeSpacing = 0;
    double smileWidth = 0, smileHeight = 0, smileLine = 0;
    double faceSpacing = 0, faceHeight = 0;
    bool showsLegs = false;
    double legWidth = 0, legHeight = 0, legSpacing = 0, legDrop = 0;
    // Vertical shift of each leg (positive is down).
    double firstLegOffset = 0, secondLegOffset = 0;
};
MascotMetrics mascotMetrics(double size, bool blink, double legs);
// An upright mascot without legs sways by itself.
bool mascotSways(double tilt, double legs);
struct Sway {
    double dy = 0;
    double degrees = 0;
};
Sway mascotSway(bool active, double t);

} // namespace Decorations
