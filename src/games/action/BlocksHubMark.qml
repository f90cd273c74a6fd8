import QtQuick
import Pavlet
import Pavlet.Style

// The Blocks card's picture.
Item {
    width: GameViews.hubMarkWidth
    height: GameViews.hubMarkHeight
    BlocksZigZag {
        anchors.centerIn: parent
        cell: ActionViews.blocksHubCell
        color: IslandPalette.accent(IslandPalette.yellow)
    }
}
