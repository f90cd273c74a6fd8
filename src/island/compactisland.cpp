#include "island/compactisland.h"

#include "island/hovercontent.h"
#include "style/palette.h"

#include <algorithm>

namespace CompactIsland {

Layout layout(const Inputs &in)
{
    Layout l;
    l.playerActive = in.isPlaying || in.previewingPlayer;
    l.showsArtwork = l.playerActive && !in.playerHidden && in.hasArtwork;
    if (l.playerActive)
        l.showsBars = in.previewingPlayer || (!in.playerHidden && in.showVisualizer);
    l.showsTimer = in.timerRunning || in.previewingTimer;
    l.showsToast = in.gameModeToast;
    l.showSmile = in.showAmbientSmile || in.previewingAmbient;

    if (!in.gameModeHidden && in.gameModeOn && in.gameModeHover)
        l.trailing = Trailing::lock;
    else if (l.showsTimer || l.showsBars || l.showSmile)
        l.trailing = Trailing::idle;

    const SourceStyle style = HoverContent::sourceStyle(in.source);
    l.barsColor = in.previewingPlayer ? Palette::greenColor : style.color;
    l.artworkColor = style.color;
    l.artworkSymbol = style.fallbackSymbol;

    l.leadingPad = in.floating ? 10 : 6;
    if (l.trailing == Trailing::lock)
        l.trailingPad = in.floating ? 10 : 8;
    else
        l.trailingPad = in.floating ? 10 : 7;
    l.rowTop = in.floating ? 0 : std::max((in.notchHeight - 20) / 2, 4.0);
    l.toastTop = in.floating ? 0 : in.notchHeight;
    return l;
}

} // namespace CompactIsland
