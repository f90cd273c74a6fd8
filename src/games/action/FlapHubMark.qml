import QtQuick
import Pavlet
import Pavlet.Style

// Flap's picture on the arcade: the mascot tilted up, in flight.
PavletMascot {
    size: GameViews.flapPreviewSize
    tilt: GameViews.flapPreviewTilt
    color: IslandPalette.accent(IslandPalette.sky)
}
