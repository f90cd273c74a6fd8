#include "island/islandviews.h"

#include "island/islandeditlayout.h"
#include "store/appsettings.h"

#include <cmath>

namespace {
// The shade's ring changes between dim and lit this often.
constexpr double ringPeriodSeconds = 0.9;
} // namespace

double IslandViews::hudFillWidth(double trackWidth, double level) const
{
    return HoverContent::hudFillWidth(trackWidth, level);
}

HandAngles IslandViews::clockAngles(double t) const { return Decorations::clockHandAngles(t); }
ClockMetrics IslandViews::clockMetrics(double size) const { return Decorations::clockMetrics(size); }

IdleChoice IslandViews::collapsedIdle(bool playing, bool showVisualizer, bool showSmile, bool timerRunning) const
{
    return Decorations::collapsedIdle(playing, showVisualizer, showSmile, timerRunning);
}

double IslandViews::smileScale(double t) const { return Decorations::smileScale(t); }
double IslandViews::clockFps(double size) const { return 1000.0 / Decorations::clockFrameIntervalMs(size); }
double IslandViews::smileFps() const { return 1000.0 / Decorations::smileFrameIntervalMs(); }
double IslandViews::smileEyeHeight(bool blinking) const { return Decorations::smileEyeHeight(blinking); }

RimLook IslandViews::rim(Ambient::AmbientKind kind, double t) const { return Decorations::rim(kind, t); }


QString IslandViews::editCaption(Island::IslandEditPhase phase) const { return IslandEditLayout::caption(phase); }

QList<EditSlider> IslandViews::editSliders(Island::IslandEditPhase phase, bool floatingPill) const
{
    return IslandEditLayout::sliders(phase, floatingPill);
}

QString IslandViews::phaseTitle(Island::IslandEditPhase phase) const { return IslandEditLayout::phaseTitle(phase); }

SmileMetrics IslandViews::smileMetrics() const { return Decorations::smileMetrics(); }

double IslandViews::ringRadius(Island::IslandEditPhase phase, double screenWidth) const
{
    return IslandEditLayout::ringRadius(phase, screenWidth);
}

bool IslandViews::ringLit(double elapsed) const
{
    return int(std::floor(std::max(elapsed, 0.0) / ringPeriodSeconds)) % 2 == 0;
}

// Often enough that the ring turns within a tenth of a second of its time.
double IslandViews::ringPulseFps() const { return 10; }

double IslandViews::arcAngle(int index, int count) const { return IslandEditLayout::arcAngle(index, count); }

QPointF IslandViews::arcPosition(const QPointF &center, double radius, int index, int count) const
{
    return IslandEditLayout::arcPosition(center, radius, index, count);
}

double IslandViews::arcRotation(int index, int count) const
{
    return IslandEditLayout::arcRotationDegrees(index, count);
}

int IslandViews::displayedValue(double value) const { return IslandEditLayout::displayedValue(value); }

void IslandViews::resetNotch(AppSettings *settings) const
{
    if (settings)
        IslandEditLayout::resetNotch(*settings);
}

void IslandViews::resetExpanded(AppSettings *settings) const
{
    if (settings)
        IslandEditLayout::resetExpanded(*settings);
}
