import QtQuick
import Pavlet

// Two card backs, one over the other.
Item {
    width: GameViews.hubMarkWidth
    height: GameViews.hubMarkHeight
    Rectangle {
        anchors.centerIn: parent
        anchors.horizontalCenterOffset: -7
        width: GameViews.hubBackWidth
        height: GameViews.hubBackHeight
        radius: IslandStyle.radiusTiny
        rotation: -18
        color: GamePalette.white90
        antialiasing: true
    }
    Rectangle {
        anchors.centerIn: parent
        anchors.horizontalCenterOffset: 6
        width: GameViews.hubBackWidth
        height: GameViews.hubBackHeight
        radius: IslandStyle.radiusTiny
        rotation: 12
        color: IslandPalette.accent(IslandPalette.yellow, IslandPalette.accentRevision)
        antialiasing: true
    }
}
