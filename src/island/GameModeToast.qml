import QtQuick
import Pavlet
import Pavlet.Style

// Tells whether the game-mode lock is on and which chord switches it.
Item {
    id: root
    property bool isOn: false
    property string hotkey: "Ctrl+Alt+G"
    implicitWidth: column.implicitWidth
    implicitHeight: column.implicitHeight + 6

    Column {
        id: column
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: parent.top
        spacing: IslandStyle.spacingHair

        Text {
            objectName: "title"
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.isOn ? qsTr("Pavlet Lock is on") : qsTr("Pavlet Lock is off")
            font.pixelSize: IslandStyle.fontBody
            font.family: IslandStyle.roundedFamily
            font.weight: Font.Medium
            color: IslandPalette.accent(IslandPalette.yellow)
        }
        Text {
            objectName: "detail"
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.isOn ? qsTr("%1 turns it off").arg(root.hotkey) : qsTr("%1 turns it on").arg(root.hotkey)
            font.pixelSize: IslandStyle.fontCaption
            font.family: IslandStyle.roundedFamily
            color: IslandPalette.textSecondary
        }
    }
}
