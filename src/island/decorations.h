#pragma once

#include "look/mascotviews.h"
#include "services/ambientpulse.h"

#include <QColor>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// Hand angles in degrees, clockwise from twelve; they move smoothly.
struct HandAngles {
    Q_GADGET
    QML_VALUE_TYPE(handAngles)
    Q_PROPERTY(double hour MEMBER hour CONSTANT)
    Q_PROPERTY(double minute MEMBER minute CONSTANT)
    Q_PROPERTY(double second MEMBER second CONSTANT)
public:
    double hour = 0;
    double minute = 0;
    double second = 0;
};

// Stroke and hand sizes of a clock face of side size.
struct ClockMetrics {
    Q_GADGET
    QML_VALUE_TYPE(clockMetrics)
    Q_PROPERTY(double ring MEMBER ring CONSTANT)
    Q_PROPERTY(double hourLength MEMBER hourLength CONSTANT)
    Q_PROPERTY(double hourWidth MEMBER hourWidth CONSTANT)
    Q_PROPERTY(double minuteLength MEMBER minuteLength CONSTANT)
    Q_PROPERTY(double minuteWidth MEMBER minuteWidth CONSTANT)
    Q_PROPERTY(double secondLength MEMBER secondLength CONSTANT)
    Q_PROPERTY(double secondWidth MEMBER secondWidth CONSTANT)
    Q_PROPERTY(double dot MEMBER dot CONSTANT)
public:
    double ring = 0;
    double hourLength = 0, hourWidth = 0;
    double minuteLength = 0, minuteWidth = 0;
    double secondLength = 0, secondWidth = 0;
    double dot = 0;
};

// The collapsed island's side indicator: first match of timer, bars, smile.
enum class IdleIndicator { none, clock, bars, smile };
struct IdleChoice {
    Q_GADGET
    QML_VALUE_TYPE(idleChoice)
    Q_PROPERTY(bool showsClock READ showsClock CONSTANT)
    Q_PROPERTY(bool showsBars READ showsBars CONSTANT)
    Q_PROPERTY(bool showsSmile READ showsSmile CONSTANT)
    Q_PROPERTY(double width MEMBER width CONSTANT)
    Q_PROPERTY(double height MEMBER height CONSTANT)
public:
    IdleIndicator indicator = IdleIndicator::none;
    double width = 14;
    double height = 10;
    bool showsClock() const { return indicator == IdleIndicator::clock; }
    bool showsBars() const { return indicator == IdleIndicator::bars; }
    bool showsSmile() const { return indicator == IdleIndicator::smile; }
};

// A status pulse's rim at one moment: its colour (straight from the
// palette) and the opacities of its halo and its line.
struct RimLook {
    Q_GADGET
    QML_VALUE_TYPE(rimLook)
    Q_PROPERTY(QColor color MEMBER color CONSTANT)
    Q_PROPERTY(double halo MEMBER halo CONSTANT)
    Q_PROPERTY(double line MEMBER line CONSTANT)
public:
    QColor color;
    double halo = 0;
    double line = 0;
};

// The blinking smile's sizes: two eyes over a mouth in a 14 x 10 frame.
struct SmileMetrics {
    Q_GADGET
    QML_VALUE_TYPE(smileMetrics)
    Q_PROPERTY(double width MEMBER width CONSTANT)
    Q_PROPERTY(double height MEMBER height CONSTANT)
    Q_PROPERTY(double spacing MEMBER spacing CONSTANT)
    Q_PROPERTY(double eyeWidth MEMBER eyeWidth CONSTANT)
    Q_PROPERTY(double eyeSpacing MEMBER eyeSpacing CONSTANT)
    Q_PROPERTY(double mouthWidth MEMBER mouthWidth CONSTANT)
    Q_PROPERTY(double mouthHeight MEMBER mouthHeight CONSTANT)
    Q_PROPERTY(double mouthLine MEMBER mouthLine CONSTANT)
    Q_PROPERTY(double inkOpacity MEMBER inkOpacity CONSTANT)
public:
    double width = 14, height = 10, spacing = 1.5;
    double eyeWidth = 1.8, eyeSpacing = 3.5;
    double mouthWidth = 8, mouthHeight = 3.5, mouthLine = 1.15;
    double inkOpacity = 0.88;
};

// The numbers behind the island's small self-animating decorations: the
// ticking clock, the side indicator of the collapsed island, the blinking
// smile and the glow rims (the mascot's are in look/mascotviews.h). Time is seconds since the start of
// 2001 (UTC), which the clock face shows.
namespace Decorations {

// 2001-01-01 00:00:00 UTC in Unix seconds.
constexpr double referenceEpoch = 978307200.0;
double referenceSeconds(const QDateTime &date);

HandAngles clockHandAngles(double t);

ClockMetrics clockMetrics(double size);

// How often the self-drawn decorations redraw: as rarely as their fastest
// moving edge still advances by at most a quarter point a frame, and never
// more often than their caps (30 a second for the clock, 20 for the smile).
// At these sizes that keeps the motion smooth at a few frames a second.
int clockFrameIntervalMs(double size);
int smileFrameIntervalMs();

IdleChoice collapsedIdle(bool playing, bool showVisualizer, bool showSmile, bool timerRunning);

// The smile's slow breathing, between 0.94 and 1.02.
double smileScale(double t);
// The blink loop: open, closing, closed, opening (seconds).
constexpr double blinkOpenSeconds = 3.4;
constexpr double blinkCloseSeconds = 0.07;
constexpr double blinkClosedSeconds = 0.11;
constexpr double blinkOpenAnimSeconds = 0.09;
// Eye height of the smile, open or blinking.
double smileEyeHeight(bool blinking);
SmileMetrics smileMetrics();

// The palette colour of a status pulse's kind, for its rim and its mark.
QColor rimColor(AmbientKind kind);
double rimAngularSpeed(AmbientKind kind);
// 0...1 over one breath.
double rimPulse(AmbientKind kind, double t);
double rimHaloOpacity(double pulse);
double rimLineOpacity(double pulse);
RimLook rim(AmbientKind kind, double t);


} // namespace Decorations
