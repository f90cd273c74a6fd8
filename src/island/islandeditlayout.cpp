#include "island/islandeditlayout.h"

#include "island/islandmetrics.h"
#include "store/appsettings.h"

#include <algorithm>
#include <cmath>

namespace IslandEditLayout {

namespace {
constexpr double firstLetterAngle = 2.57610597594363;
constexpr double lastLetterAngle = 0.5654866776461628;
} // namespace

double ringRadius(IslandEditPhase phase, double w)
{
    if (phase == IslandEditPhase::hang)
        return std::clamp(0.22 * w, 210.0, 280.0);
    return std::clamp(0.30 * w, 280.0, 400.0);
}

double controlsHeight(IslandEditPhase phase, bool floating)
{
    if (phase == IslandEditPhase::expanded)
        return 248;
    return floating ? 300 : 430;
}

static double offsetX(const Inputs &in)
{
    return in.phase == IslandEditPhase::hang ? in.lipOffsetX : in.expandedOffsetX;
}

Frames frames(const Inputs &in)
{
    Frames f;
    const QRectF &s = in.screen;
    const double w = s.width();
    const double h = s.height();
    const double top = s.y() + s.height();
    const double r = ringRadius(in.phase, w);
    f.ringRadius = r;

    double hs = r + 40;
    if (in.phase == IslandEditPhase::expanded) {
        const double home = IslandMetrics::homeHeight(in.visibleHeight, in.notchRect.height(), in.homeContentHeight);
        hs = std::min(0.72 * h, std::max(home + 48, r + 40));
    }
    f.shade = QRectF(s.x(), top - hs, w, hs);

    const double hc = controlsHeight(in.phase, in.floating);
    const double cx = in.notchRect.center().x() + offsetX(in);
    double x = cx + r + 18;
    if (x + controlsWidth > s.x() + w - 16)
        x = std::max(s.x() + 16, cx - r - 18 - controlsWidth);
    const double y = std::min(top - hc - 8, std::max(top - std::min(hs, 320.0) - hc + 80, s.y() + 24));
    f.controls = QRectF(x, y, controlsWidth, hc);
    return f;
}

QPointF ringCenter(const Inputs &in)
{
    return {in.notchRect.center().x() - in.screen.x() + offsetX(in), 0};
}

QString caption(IslandEditPhase phase)
{
    return phase == IslandEditPhase::hang
        ? QStringLiteral("Notch edit. Change drop, sides, and round here.")
        : QStringLiteral("Expanded edit. Nudge the open island here.");
}

double arcAngle(int index, int count)
{
    const double t = count < 2 ? 0.5 : double(index) / double(count - 1);
    return firstLetterAngle + (lastLetterAngle - firstLetterAngle) * t;
}

QPointF arcPosition(const QPointF &center, double radius, int index, int count)
{
    const double a = arcAngle(index, count);
    return {center.x() + radius * std::cos(a), center.y() + radius * std::sin(a)};
}

double arcRotationDegrees(int index, int count)
{
    return (arcAngle(index, count) - M_PI / 2) * 180 / M_PI;
}

int displayedValue(double value)
{
    return int(std::round(value));
}

bool showsFloatingPill(bool floatingIsland, const QList<double> &screenTopInsets)
{
    if (!floatingIsland)
        return false;
    return std::none_of(screenTopInsets.begin(), screenTopInsets.end(),
                        [](double inset) { return inset > 0; });
}

void resetNotch(AppSettings &settings)
{
    settings.setLipOffsetX(0);
    settings.setLipOffsetY(0);
    settings.setLipDrop(16);
    settings.setLipCornerRadius(10);
    settings.setLipEar(32);
}

void resetExpanded(AppSettings &settings)
{
    settings.setExpandedOffsetX(0);
    settings.setExpandedOffsetY(0);
}

QList<EditSlider> sliders(IslandEditPhase phase, bool floatingPill)
{
    auto slider = [](const char *label, const char *key, double from, double to) {
        return EditSlider{QString::fromLatin1(label), QString::fromLatin1(key), from, to};
    };
    if (phase == IslandEditPhase::expanded)
        return {slider("X", "expandedOffsetX", -60, 60), slider("Y", "expandedOffsetY", 0, 80)};
    if (floatingPill)
        return {slider("X", "lipOffsetX", -60, 60), slider("Y", "lipOffsetY", 0, 80)};
    using namespace IslandMetrics;
    return {slider("X", "lipOffsetX", -60, 60), slider("Drop", "lipDrop", minDrop, maxDrop),
            slider("Sides", "lipEar", minEar, maxEar), slider("Round", "lipCornerRadius", 0, maxLipCornerRadius)};
}

QString phaseTitle(IslandEditPhase phase)
{
    return phase == IslandEditPhase::expanded ? QStringLiteral("Expanded") : QStringLiteral("Notch");
}

} // namespace IslandEditLayout
