#include "island/islandmetrics.h"

#include "games/gameregistry.h"

#include <algorithm>
#include <cmath>

namespace IslandMetrics {

double clampDrop(double lipDrop) { return std::clamp(lipDrop, minDrop, maxDrop); }
double clampEar(double lipEar) { return std::clamp(lipEar, minEar, maxEar); }
double clampLipCornerRadius(double lipCornerRadius) { return std::clamp(lipCornerRadius, 0.0, maxLipCornerRadius); }
double clampOffset(double offset) { return std::clamp(offset, -maxOffset, maxOffset); }

QSizeF gamePage(PavletGame game)
{
    return GameRegistry::pageSize(int(game));
}

QSizeF islandSize(NotchState state, const SizeInputs &in)
{
    const double nw = in.notch.width();
    const double nh = in.notch.height();
    switch (state) {
    case NotchState::collapsed:
        if (in.floating)
            return {nw, nh + in.extraHeight};
        return {std::max(nw + 2 * in.ear, 96.0), nh + in.drop + in.extraHeight};
    case NotchState::hover: return {std::max(nw + 96, 296.0), nh + 40};
    case NotchState::hud: return {std::max(nw + 88, 268.0), nh + 36};
    case NotchState::home: return {428, homeHeight(in.visibleHeight, nh, in.homeContentHeight)};
    case NotchState::canvas: return {400, nh + 430};
    case NotchState::mirror: return {320, 268};
    case NotchState::games: {
        const QSizeF page = gamePage(in.game);
        return {page.width(), nh + 36 + page.height()};
    }
    case NotchState::calculator: return {348, nh + 452};
    case NotchState::pocket: return {400, nh + 320};
    case NotchState::voice: return {400, nh + 400};
    case NotchState::translator: return {400, nh + 372};
    case NotchState::update: return {400, nh + 168};
    }
    return {nw, nh};
}

QRectF placeIsland(QSizeF size, double notchCentreX, double screenTop, bool floating, bool dropShadow)
{
    double w = size.width(), h = size.height();
    double x = notchCentreX - w / 2;
    double y = screenTop - h;
    if (floating)
        y -= floatingGap;
    if (dropShadow) {
        w += 2 * shadowMargin;
        x -= shadowMargin;
        y -= shadowMargin;
        h += floating ? 2 * shadowMargin : shadowMargin;
    }
    return QRectF(x, y, w, h);
}

double homeHeight(double visibleHeight, double notchHeight, double homeContentHeight)
{
    const double bound = std::clamp(visibleHeight - 20, 280.0, 620.0);
    return std::min(bound, std::max(notchHeight + 26 + std::max(homeContentHeight, 36.0), notchHeight + 72));
}

double cornerRadius(NotchState state, bool floating, double lipCornerRadius)
{
    using S = NotchState;
    if (floating) {
        switch (state) {
        case S::collapsed:
        case S::mirror:
            return 20;
        case S::hover:
        case S::hud:
            return 18;
        default:
            return 22;
        }
    }
    const double r = clampLipCornerRadius(lipCornerRadius);
    switch (state) {
    case S::collapsed:
        return r;
    case S::hover:
    case S::hud:
        return std::max(r, 14.0);
    case S::mirror:
        return std::max(r, 18.0);
    default:
        return std::max(r, 20.0);
    }
}

double contentTopInset(NotchState state, bool floating, double notchHeight)
{
    const bool closed = Island::isClosed(state);
    if (floating)
        return closed ? 8 : 14;
    return notchHeight + (closed ? 6 : 10);
}

double horizontalInset(NotchState state)
{
    switch (state) {
    case NotchState::collapsed:
        return 0;
    case NotchState::hover:
    case NotchState::hud:
        return 14;
    case NotchState::mirror:
        return 12;
    default:
        return 18;
    }
}

double bottomInset(NotchState state)
{
    switch (state) {
    case NotchState::collapsed:
        return 0;
    case NotchState::hover:
    case NotchState::hud:
        return 8;
    default:
        return 16;
    }
}

QString contentName(NotchState state)
{
    switch (state) {
    case NotchState::collapsed: return {};
    case NotchState::hover: return QStringLiteral("HoverIsland");
    case NotchState::hud: return QStringLiteral("SystemHUDIsland");
    case NotchState::home: return QStringLiteral("HomePanel");
    case NotchState::canvas: return QStringLiteral("CanvasPanel");
    case NotchState::mirror: return QStringLiteral("MirrorPanel");
    case NotchState::games: return QStringLiteral("GamesPanel");
    case NotchState::calculator: return QStringLiteral("CalculatorPanel");
    case NotchState::pocket: return QStringLiteral("PocketPanel");
    case NotchState::voice: return QStringLiteral("VoiceMemosPanel");
    case NotchState::translator: return QStringLiteral("TranslatorPanel");
    case NotchState::update: return QStringLiteral("UpdatePanel");
    }
    return {};
}

IslandInsets insets(NotchState state, bool floating, double notchHeight)
{
    IslandInsets i;
    i.top = contentTopInset(state, floating, notchHeight);
    i.horizontal = horizontalInset(state);
    i.bottom = bottomInset(state);
    return i;
}

bool showsHudOverlay(NotchState state, bool hudPresent)
{
    return hudPresent && Island::fromHomeOn(state);
}

double hudOverlayTop(bool floating, double notchHeight)
{
    return floating ? 14 : notchHeight + 8;
}

Glow islandGlow(bool timerRunning, bool previewingTimer, bool ambientPresent,
                bool previewingAmbient, AmbientKind showsAmbientOrCamera)
{
    if (timerRunning || previewingTimer)
        return {GlowKind::timer, AmbientKind::rest};
    if (ambientPresent || previewingAmbient)
        return {GlowKind::ambient, previewingAmbient ? AmbientKind::rest : showsAmbientOrCamera};
    return {};
}

bool showsDropHint(bool fileDropTargeted, bool pocketHidden, NotchState state)
{
    return fileDropTargeted && !pocketHidden && state != NotchState::pocket;
}

} // namespace IslandMetrics
