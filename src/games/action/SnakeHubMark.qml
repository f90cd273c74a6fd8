import QtQuick
import Pavlet
import Pavlet.Style

// The Snake card's picture: a gold capsule and an apple.
Item {
    width: GameViews.hubMarkWidth
    height: GameViews.hubMarkHeight
    Row {
        anchors.centerIn: parent
        spacing: IslandStyle.spacingHair
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: ActionViews.snakeHubCapsuleWidth
            height: ActionViews.snakeHubDot
            radius: height / 2
            color: IslandPalette.accent(IslandPalette.yellow)
        }
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: ActionViews.snakeHubDot
            height: width
            radius: width / 2
            color: IslandPalette.coral
        }
    }
}
