import QtQuick
import Pavlet
import Pavlet.Style

// The Reflex card's picture: a gold dot in a faint ring.
Item {
    width: GameViews.hubMarkWidth
    height: GameViews.hubMarkHeight
    Rectangle {
        anchors.centerIn: parent
        width: ActionViews.reflexHubRing
        height: width
        radius: width / 2
        color: "transparent"
        border.width: IslandStyle.strokeThin
        border.color: IslandPalette.white35
    }
    Rectangle {
        anchors.centerIn: parent
        width: ActionViews.reflexHubDot
        height: width
        radius: width / 2
        color: IslandPalette.accent(IslandPalette.yellow)
    }
}
