#pragma once

#include "island/islandtypes.h"
#include "services/ambientpulse.h"

#include <QObject>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QtQml/qqmlregistration.h>

// Which glow the island wears: the timer's, a status pulse's rim, or none.
struct IslandGlow {
    Q_GADGET
    QML_VALUE_TYPE(islandGlow)
    Q_PROPERTY(bool timer READ timer CONSTANT)
    Q_PROPERTY(bool ambient READ ambient CONSTANT)
    Q_PROPERTY(Ambient::AmbientKind ambientKind MEMBER ambientKind CONSTANT)
public:
    enum class Kind { none, timer, ambient };
    Kind kind = Kind::none;
    // The rim's kind, for an ambient glow.
    AmbientKind ambientKind = AmbientKind::rest;
    bool timer() const { return kind == Kind::timer; }
    bool ambient() const { return kind == Kind::ambient; }
    bool operator==(const IslandGlow &) const = default;
};

// The paddings of a state's content inside the outline.
struct IslandInsets {
    Q_GADGET
    QML_VALUE_TYPE(islandInsets)
    Q_PROPERTY(double top MEMBER top CONSTANT)
    Q_PROPERTY(double horizontal MEMBER horizontal CONSTANT)
    Q_PROPERTY(double bottom MEMBER bottom CONSTANT)
public:
    double top = 0;
    double horizontal = 0;
    double bottom = 0;
    bool operator==(const IslandInsets &) const = default;
};

// Sizes, corner radii, insets and layer choices of the island, as functions
// of the state and the few values they depend on. The window's frame and the
// root view both read them here; the QML only applies them.
namespace IslandMetrics {

// The notch a screen without one is given: hung from the top edge at its
// centre, or, when the island floats, a larger one floatingGap below the edge.
constexpr QSizeF plainNotch(184, 32);
constexpr QSizeF floatingNotch(228, 36);
// A notched screen whose notch's sides cannot be read: a notch this wide at
// its centre, as high as the screen's top inset but no lower than plainNotch.
constexpr double fallbackNotchWidth = 185;
// How far a floating island stays below the screen's top edge.
constexpr double floatingGap = 14;
// The drop-shadow margin: at the sides and below, and above as well when the
// island floats.
constexpr double shadowMargin = 16;
// The least ear while the collapsed island shows something beside the notch.
constexpr double sideContentEar = 32;
// The height the game-mode toast adds below the collapsed island.
constexpr double toastHeight = 34;

// The highest an island reaches (y-up screen space): the screen's top edge,
// or floatingGap below it.
constexpr double islandTop(double screenTop, bool floating) { return floating ? screenTop - floatingGap : screenTop; }
// An island of a size placed on the screen (y-up): centred on the notch,
// hanging from islandTop(), then grown by the drop-shadow margin.
QRectF placeIsland(QSizeF size, double notchCentreX, double screenTop, bool floating, bool dropShadow);

// The lip settings as the island takes them: the drop below the notch, the
// ear either side of it and the rounding of a hung island's corners; the
// editor's sliders span the same ranges.
constexpr double minDrop = 2, maxDrop = 28;
constexpr double minEar = -60, maxEar = 64;
constexpr double maxLipCornerRadius = 22;
double clampDrop(double lipDrop);
double clampEar(double lipEar);
double clampLipCornerRadius(double lipCornerRadius);
// The largest offset of the island taken, either way (window coordinates are
// 16 bits): offsets no screen could hold are cut to what one can.
constexpr double maxOffset = 16000;
double clampOffset(double offset);
// The extra height below the notch of a games page, and its width.
QSizeF gamePage(PavletGame game);

// What the island's size depends on besides its state.
struct SizeInputs {
    QSizeF notch;
    bool floating = false;
    // The height of the screen's visible area.
    double visibleHeight = 0;
    double homeContentHeight = 0;
    PavletGame game = PavletGame::hub;
    // Taken as given (callers clamp).
    double drop = 0;
    double ear = 0;
    double extraHeight = 0;
};
// Width and height of the island in a state, before the drop-shadow margin.
QSizeF islandSize(NotchState state, const SizeInputs &in);
// Home's height: its content below the notch, at least a row, within the
// screen's visible height.
double homeHeight(double visibleHeight, double notchHeight, double homeContentHeight);

// Corner radius of the island's outline. A hung island follows the user's
// rounding, with a floor per state; a floating one uses fixed radii.
double cornerRadius(NotchState state, bool floating, double lipCornerRadius);
// Space above the content: below the notch when hung.
double contentTopInset(NotchState state, bool floating, double notchHeight);
// Left and right padding of a state's content (0 when collapsed: the compact
// island lays itself out).
double horizontalInset(NotchState state);
// Bottom padding of a state's content.
double bottomInset(NotchState state);
IslandInsets insets(NotchState state, bool floating, double notchHeight);

// The panel a state stands for, by name, whether or not it is drawn yet.
QString contentName(NotchState state);

// A volume or brightness pulse is laid over an open panel; the closed island
// shows it through its own HUD state.
bool showsHudOverlay(NotchState state, bool hudPresent);
double hudOverlayTop(bool floating, double notchHeight);

using GlowKind = IslandGlow::Kind;
using Glow = IslandGlow;
// The timer glow wins over a pulse; the editor's previews stand in for the
// real thing. showsAmbientOrCamera is the kind the view model reports.
Glow islandGlow(bool timerRunning, bool previewingTimer, bool ambientPresent,
                bool previewingAmbient, AmbientKind showsAmbientOrCamera);

// "Drop in Pocket" shows while files hover the island, the pocket module is
// shown, and the pocket panel is not open yet.
bool showsDropHint(bool fileDropTargeted, bool pocketHidden, NotchState state);

} // namespace IslandMetrics
