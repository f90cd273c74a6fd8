import QtQuick
import Pavlet
import Pavlet.Style

// The small card centred over a real-time game before a run and after one:
// a title over one line, on dark glass.
Rectangle {
    id: root
    property string title
    property string line
    property real padX: ActionViews.overlayPadX
    property real padY: ActionViews.overlayPadY

    width: Math.max(titleText.implicitWidth, lineText.implicitWidth) + 2 * padX
    height: column.implicitHeight + 2 * padY
    radius: IslandStyle.radiusCard
    color: IslandPalette.black55

    Column {
        id: column
        anchors.centerIn: parent
        spacing: ActionViews.overlaySpacing
        Text {
            id: titleText
            objectName: "cardTitle"
            textFormat: Text.PlainText
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.title
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontTitle3
            font.weight: Font.DemiBold
            color: IslandPalette.textPrimary
        }
        Text {
            id: lineText
            objectName: "cardLine"
            textFormat: Text.PlainText
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.line
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontFootnote
            color: IslandPalette.textSecondary
        }
    }
}
