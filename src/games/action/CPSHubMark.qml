import QtQuick
import Pavlet
import Pavlet.Style

// The CPS card's picture: a gold dot in a faint ring.
Item {
    id: root
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    width: GameViews.hubMarkWidth
    height: GameViews.hubMarkHeight
    Rectangle {
        anchors.centerIn: parent
        width: ActionViews.cpsHubRing
        height: width
        radius: width / 2
        color: Qt.rgba(root.gold.r, root.gold.g, root.gold.b, ActionViews.cpsHubRingOpacity)
    }
    Rectangle {
        anchors.centerIn: parent
        width: ActionViews.cpsHubDot
        height: width
        radius: width / 2
        color: root.gold
    }
}
