import QtQuick
import Pavlet
import Pavlet.Style

// A gold capsule that says CLICK.
Item {
    implicitWidth: ActionViews.cpsCapsuleWidth
    implicitHeight: ActionViews.cpsVisualHeight
    Rectangle {
        anchors.centerIn: parent
        width: ActionViews.cpsCapsuleWidth
        height: ActionViews.cpsCapsuleHeight
        radius: height / 2
        color: IslandPalette.accent(IslandPalette.yellow)
        Text {
            textFormat: Text.PlainText
            anchors.centerIn: parent
            text: "CLICK"
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontCaption
            font.weight: Font.DemiBold
            color: IslandPalette.black82
        }
    }
}
