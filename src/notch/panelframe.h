#pragma once

#include "island/islandtypes.h"
#include "notch/notchgeometry.h"

#include <QRectF>

class AppSettings;

// The settings the island's frame depends on.
struct FrameSettings {
    double lipDrop = 0;
    double lipEar = 0;
    double lipOffsetX = 0;
    double lipOffsetY = 0;
    double expandedOffsetX = 0;
    double expandedOffsetY = 0;
    double lipCornerRadius = 0;
    bool showDropShadow = false;

    static FrameSettings from(const AppSettings &settings);
    bool operator==(const FrameSettings &) const = default;
};

// What the island shows that changes its frame.
struct FrameInputs {
    NotchState state = NotchState::collapsed;
    PavletGame activeGame = PavletGame::hub;
    double homeContentHeight = 0;
    bool gameModeToast = false;
    bool gameModeOn = false;
    bool gameModeHover = false;
    // Something shows beside the notch of the collapsed island.
    bool hasCollapsedSideContent = false;
    // The game-mode module is not hidden.
    bool gameModeShown = true;

    bool operator==(const FrameInputs &) const = default;
};

namespace PanelFrame {
// The lip-ear setting clamped, raised to IslandMetrics::sideContentEar while
// the collapsed island shows something beside the notch.
double sideExtension(const FrameInputs &in, const FrameSettings &s);
double offsetX(const FrameInputs &in, const FrameSettings &s, bool floating);
double offsetY(const FrameInputs &in, const FrameSettings &s, bool floating);
// IslandMetrics::toastHeight while the game-mode toast shows.
double extraHeight(const FrameInputs &in);
// The panel's frame for a state (y-up screen space).
QRectF targetFrame(const NotchGeometry &g, const FrameInputs &in, const FrameSettings &s);
// The first frame, before the island's state is known: the hanging collapsed
// island with the plain lip ear, no offsets and no top limit.
QRectF initialFrame(const NotchGeometry &g, const FrameSettings &s);
// Whether the pointer counts as over the island: the panel frame grown by 8
// on every side, else the island's own rectangle moved by the offsets.
bool pointerInside(const QPointF &pointer, const QRectF &panelFrame, const NotchGeometry &g,
                   const FrameInputs &in, const FrameSettings &s);
// The smallest rectangle holding every point pointerInside() counts.
QRectF pointerArea(const QRectF &panelFrame, const NotchGeometry &g, const FrameInputs &in, const FrameSettings &s);
} // namespace PanelFrame
