import QtQuick
import Pavlet
import Pavlet.Style

// The run's picture on the arcade: the mascot on its legs.
PavletMascot {
    size: GameViews.runPreviewSize
    legs: GameViews.runPreviewLegs
    color: IslandPalette.accent(IslandPalette.yellow)
}
