import QtQuick
import Pavlet

// The Blocks card's picture.
Item {
    width: GameViews.hubMarkWidth
    height: GameViews.hubMarkHeight
    BlocksZigZag {
        anchors.centerIn: parent
        cell: ActionViews.blocksHubCell
        color: IslandPalette.accent(IslandPalette.yellow, IslandPalette.accentRevision)
    }
}
