import QtQuick
import Pavlet
import Pavlet.Style

// A capsule button for a game's options and actions. It never selects itself:
// its owner passes `selected` from the engine.
Item {
    id: root
    property string title
    property bool selected: false
    signal clicked()

    implicitWidth: label.implicitWidth + 2 * IslandStyle.spacingLarge
    implicitHeight: label.implicitHeight + 2 * IslandStyle.spacingSmall

    IslandPressStyle {
        anchors.fill: parent
        pressed: area.pressed
        label: root.title
        onActivated: if (root.enabled) root.clicked()
        Rectangle {
            width: root.width
            height: root.height
            radius: height / 2
            color: root.selected ? IslandPalette.accent(IslandPalette.yellow)
                                 : IslandPalette.fillStrong
            Text {
                id: label
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                anchors.centerIn: parent
                text: root.title
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontFootnote
                font.weight: Font.Medium
                color: root.selected ? IslandPalette.onAccent : IslandPalette.textPrimary
            }
        }
    }

    MouseArea {
        id: area
        anchors.fill: parent
        enabled: root.enabled
        onClicked: root.clicked()
    }
}
