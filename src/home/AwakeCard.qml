import QtQuick
import Pavlet
import Pavlet.Style

// Keeps the display awake while on.
ModuleCard {
    id: root
    required property KeepAwake keepAwake
    title: qsTr("Focus")
    accent: IslandPalette.accent(IslandPalette.amber)

    IslandPressStyle {
        width: parent.width
        implicitHeight: IslandStyle.fontBody * 1.4
        pressed: area.pressed
        keys: true
        onActivated: root.keepAwake.toggle()
        label: label.text
        Accessible.checkable: true
        Accessible.checked: root.keepAwake.isOn
        Item {
            width: parent.width
            implicitHeight: label.implicitHeight
            Symbol {
                id: cup
                anchors.verticalCenter: parent.verticalCenter
                name: root.keepAwake.isOn ? "cup.and.saucer.fill" : "moon.zzz"
                color: IslandPalette.textPrimary
                size: IslandStyle.fontBody
            }
            CardText {
                id: label
                anchors.left: cup.right
                anchors.leftMargin: IslandStyle.spacing
                anchors.right: state.left
                anchors.verticalCenter: parent.verticalCenter
                text: root.keepAwake.isOn ? qsTr("Keeping this computer awake")
                                          : root.keepAwake.failed ? qsTr("Couldn't keep this computer awake")
                                                                  : qsTr("Allow sleep")
            }
            CardText {
                id: state
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                text: root.keepAwake.isOn ? qsTr("On") : qsTr("Off")
                color: root.keepAwake.isOn ? IslandPalette.accent(IslandPalette.amber)
                                           : IslandPalette.textTertiary
            }
        }
        MouseArea { id: area; anchors.fill: parent; onClicked: root.keepAwake.toggle() }
    }
}
