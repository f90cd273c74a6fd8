import QtQuick
import Pavlet
import Pavlet.Style

// Two card backs, one over the other.
Item {
    id: root
    width: GameViews.hubMarkWidth
    height: GameViews.hubMarkHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    Repeater {
        model: GameViews.blackjackHubBacks
        Rectangle {
            required property var modelData
            anchors.centerIn: parent
            anchors.horizontalCenterOffset: modelData.dx
            width: GameViews.hubBackWidth
            height: GameViews.hubBackHeight
            radius: IslandStyle.radiusTiny
            rotation: modelData.rotation
            color: modelData.gold ? root.gold : IslandPalette.white90
            antialiasing: true
        }
    }
}
