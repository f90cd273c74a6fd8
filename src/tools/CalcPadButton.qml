import QtQuick
import Pavlet
import Pavlet.Style

// One key of the calculator's pad: its caption on a rounded fill whose
// colours come from the key's kind.
Item {
    id: root
    required property calcKey key
    signal clicked()

    readonly property calcKeyLook look: ToolViews.calcKeyLook(key)
    readonly property color fill: look.accent
        ? IslandPalette.accent(IslandPalette[look.fill])
        : IslandPalette[look.fill]

    implicitHeight: ToolViews.calcKeyHeight
    implicitWidth: ToolViews.calcKeyHeight

    IslandPressStyle {
        anchors.fill: parent
        pressed: area.pressed
        label: root.key.label
        onActivated: root.clicked()
        Rectangle {
            width: root.width
            height: root.height
            radius: IslandStyle.radius
            color: root.fill
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                anchors.centerIn: parent
                text: root.key.label
                font.family: IslandStyle.roundedFamily
                font.pixelSize: root.look.fontSize
                font.weight: root.look.semibold ? Font.DemiBold : Font.Normal
                color: IslandPalette[root.look.ink]
            }
        }
    }
    MouseArea {
        id: area
        anchors.fill: parent
        onClicked: root.clicked()
    }
}
