#pragma once

#include "island/islandtypes.h"
#include "platform/screenprovider.h"

#include <QPainterPath>
#include <QRectF>

#include <optional>

// Where the island lives: the screen, the notch (or the place a notch would
// have), and whether the island floats free of the top edge.
struct NotchGeometry {
    platform::ScreenInfo screen;
    QRectF notchRect;
    bool hasHardwareNotch = false;
    bool floating = false;

    NotchGeometry() = default;
    NotchGeometry(const platform::ScreenInfo &screen, bool floatingRequested);

    bool operator==(const NotchGeometry &) const = default;

    // The first screen with a notch, else the main screen, else the first.
    static std::optional<platform::ScreenInfo> notchedScreen(const QList<platform::ScreenInfo> &screens,
                                                   const std::optional<platform::ScreenInfo> &main);
    static std::optional<platform::ScreenInfo> notchedScreen(const platform::IScreenProvider &provider)
    {
        return notchedScreen(provider.screens(), provider.mainScreen());
    }

    // Width and height of the island in a state on this screen, before the
    // drop-shadow margin (IslandMetrics::islandSize). drop and ear are taken
    // as given (callers clamp).
    QSizeF islandSize(NotchState state, double homeContentHeight, PavletGame game, double drop,
                      double ear, double extraHeight) const;

    // The screen area the island covers in a state, before the user's offsets.
    QRectF islandRect(NotchState state, double homeContentHeight, PavletGame game, double lipDrop,
                      double sideExtension, double extraHeight, bool dropShadow) const;
};

// The island's outline for a view of rect's size, in the view's own
// coordinates (y downwards). Floating: a rounded rectangle. Hanging: square
// top corners reaching 12 above the view, rounded bottom corners.
QPainterPath islandOutlinePath(const QRectF &rect, double radius, bool floating);
