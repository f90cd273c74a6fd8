#include "notch/panelframe.h"

#include "island/islandmetrics.h"
#include "store/appsettings.h"

#include <algorithm>

using ScreenSpace::maxY;

FrameSettings FrameSettings::from(const AppSettings &settings)
{
    // Every frame converts to whole window coordinates.
    using IslandMetrics::clampOffset;
    FrameSettings s;
    s.lipDrop = settings.lipDrop();
    s.lipEar = settings.lipEar();
    s.lipOffsetX = clampOffset(settings.lipOffsetX());
    s.lipOffsetY = clampOffset(settings.lipOffsetY());
    s.expandedOffsetX = clampOffset(settings.expandedOffsetX());
    s.expandedOffsetY = clampOffset(settings.expandedOffsetY());
    s.lipCornerRadius = settings.lipCornerRadius();
    s.showDropShadow = settings.showDropShadow();
    return s;
}

namespace PanelFrame {

double sideExtension(const FrameInputs &in, const FrameSettings &s)
{
    double e = IslandMetrics::clampEar(s.lipEar);
    if (in.state == NotchState::collapsed) {
        const bool lockHover = in.gameModeShown && in.gameModeOn && in.gameModeHover;
        if (in.hasCollapsedSideContent || in.gameModeToast || lockHover)
            e = std::max(e, IslandMetrics::sideContentEar);
    }
    return e;
}

double offsetX(const FrameInputs &in, const FrameSettings &s, bool)
{
    return in.state == NotchState::collapsed ? s.lipOffsetX : s.expandedOffsetX;
}

double offsetY(const FrameInputs &in, const FrameSettings &s, bool floating)
{
    if (in.state == NotchState::collapsed)
        return floating ? std::max(s.lipOffsetY, 0.0) : 0.0;
    return std::max(s.expandedOffsetY, 0.0);
}

double extraHeight(const FrameInputs &in) { return in.gameModeToast ? IslandMetrics::toastHeight : 0; }

namespace {
// An island of a size placed on the geometry's screen, before the offsets.
QRectF place(const NotchGeometry &g, QSizeF size, bool dropShadow)
{
    return IslandMetrics::placeIsland(size, g.notchRect.center().x(), maxY(g.screen.frame), g.floating, dropShadow);
}
} // namespace

QRectF targetFrame(const NotchGeometry &g, const FrameInputs &in, const FrameSettings &s)
{
    const double drop = IslandMetrics::clampDrop(s.lipDrop);
    const double ear = sideExtension(in, s);
    const QSizeF size = g.islandSize(in.state, in.homeContentHeight, in.activeGame, drop, ear, extraHeight(in));
    QRectF r = place(g, size, s.showDropShadow);
    r.translate(offsetX(in, s, g.floating), -offsetY(in, s, g.floating));
    const double limit = IslandMetrics::islandTop(maxY(g.screen.frame), g.floating);
    if (maxY(r) > limit)
        r.moveTop(limit - r.height());
    return r;
}

QRectF initialFrame(const NotchGeometry &g, const FrameSettings &s)
{
    NotchGeometry hanging = g;
    hanging.floating = false;
    const QSizeF size = hanging.islandSize(NotchState::collapsed, 0, PavletGame::hub,
                                           IslandMetrics::clampDrop(s.lipDrop),
                                           IslandMetrics::clampEar(s.lipEar), 0);
    // The size is the hanging row; the placement still follows the geometry.
    return place(g, size, s.showDropShadow);
}

namespace {
// The island's own rectangle moved by the offsets.
QRectF offsetIslandRect(const NotchGeometry &g, const FrameInputs &in, const FrameSettings &s)
{
    QRectF r = g.islandRect(in.state, in.homeContentHeight, in.activeGame, s.lipDrop,
                            sideExtension(in, s), extraHeight(in), s.showDropShadow);
    r.translate(offsetX(in, s, g.floating), -offsetY(in, s, g.floating));
    return r;
}
} // namespace

bool pointerInside(const QPointF &pointer, const QRectF &panelFrame, const NotchGeometry &g,
                   const FrameInputs &in, const FrameSettings &s)
{
    return panelFrame.adjusted(-8, -8, 8, 8).contains(pointer) || offsetIslandRect(g, in, s).contains(pointer);
}

QRectF pointerArea(const QRectF &panelFrame, const NotchGeometry &g, const FrameInputs &in, const FrameSettings &s)
{
    return panelFrame.adjusted(-8, -8, 8, 8).united(offsetIslandRect(g, in, s));
}

} // namespace PanelFrame
