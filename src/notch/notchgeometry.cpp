#include "notch/notchgeometry.h"

#include "island/islandmetrics.h"

#include <algorithm>

using ScreenSpace::maxY;
using ScreenSpace::minY;

NotchGeometry::NotchGeometry(const platform::ScreenInfo &s, bool floatingRequested)
    : screen(s)
{
    const QRectF &f = s.frame;
    const double t = s.topInset;
    hasHardwareNotch = t > 0;
    if (t > 0) {
        const auto &left = s.auxiliaryTopLeft;
        const auto &right = s.auxiliaryTopRight;
        if (left && right && left->x() + left->width() + 40 < right->x()) {
            const double x = left->x() + left->width();
            notchRect = QRectF(x, maxY(f) - t, right->x() - x, t);
        } else {
            const double w = IslandMetrics::fallbackNotchWidth;
            const double h = std::max(t, IslandMetrics::plainNotch.height());
            notchRect = QRectF(f.center().x() - w / 2, maxY(f) - h, w, h);
        }
        floating = false;
    } else {
        floating = floatingRequested;
        const QSizeF n = floating ? IslandMetrics::floatingNotch : IslandMetrics::plainNotch;
        const double top = IslandMetrics::islandTop(maxY(f), floating);
        notchRect = QRectF(QPointF(f.center().x() - n.width() / 2, top - n.height()), n);
    }
}

std::optional<platform::ScreenInfo> NotchGeometry::notchedScreen(const QList<platform::ScreenInfo> &screens,
                                                       const std::optional<platform::ScreenInfo> &main)
{
    for (const platform::ScreenInfo &s : screens) {
        if (s.topInset > 0)
            return s;
    }
    if (main)
        return main;
    if (!screens.isEmpty())
        return screens.first();
    return std::nullopt;
}

QSizeF NotchGeometry::islandSize(NotchState state, double homeContentHeight, PavletGame game,
                                 double drop, double ear, double extraHeight) const
{
    IslandMetrics::SizeInputs in;
    in.notch = notchRect.size();
    in.floating = floating;
    in.visibleHeight = screen.visibleFrame.height();
    in.homeContentHeight = homeContentHeight;
    in.game = game;
    in.drop = drop;
    in.ear = ear;
    in.extraHeight = extraHeight;
    return IslandMetrics::islandSize(state, in);
}

QRectF NotchGeometry::islandRect(NotchState state, double homeContentHeight, PavletGame game,
                                 double lipDrop, double sideExtension, double extraHeight,
                                 bool dropShadow) const
{
    const double drop = IslandMetrics::clampDrop(lipDrop);
    const double ear = IslandMetrics::clampEar(sideExtension);
    const QSizeF size = islandSize(state, homeContentHeight, game, drop, ear, extraHeight);
    const QRectF &n = notchRect;
    const QRectF r = IslandMetrics::placeIsland(size, n.center().x(), maxY(screen.frame), floating, dropShadow);
    if (floating)
        return r;
    const double outward = std::max(ear, 0.0);
    const QRectF lip(n.x() - outward, minY(n) - drop, n.width() + 2 * outward, n.height() + drop);
    return r.united(n).united(lip);
}

QPainterPath islandOutlinePath(const QRectF &rect, double radius, bool floating)
{
    double r = radius <= 0 ? 0 : radius;
    r = std::min(r, rect.height() / 2);
    r = std::min(r, rect.width() / 2);
    QPainterPath path;
    if (floating) {
        path.addRoundedRect(rect, r, r);
        return path;
    }
    // y downwards: the top edge sits 12 above the view, the bottom corners
    // are rounded.
    const double left = rect.left(), right = rect.right(), top = rect.top() - 12, bottom = rect.bottom();
    path.moveTo(left, top);
    path.lineTo(right, top);
    path.lineTo(right, bottom - r);
    if (r > 0)
        path.arcTo(QRectF(right - 2 * r, bottom - 2 * r, 2 * r, 2 * r), 0, -90);
    path.lineTo(left + r, bottom);
    if (r > 0)
        path.arcTo(QRectF(left, bottom - 2 * r, 2 * r, 2 * r), -90, -90);
    path.closeSubpath();
    return path;
}
