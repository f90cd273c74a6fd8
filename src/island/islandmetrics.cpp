#include "island/islandmetrics.h"

#include <algorithm>
#include <cmath>

namespace IslandMetrics {

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
    const double r = std::clamp(lipCornerRadius, 0.0, 22.0);
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
