import QtQuick
import Pavlet
import Pavlet.Style

// A round transport button: the accent disc with a black glyph when
// emphasized, else a faint disc with a light glyph. With `keys` set, a stop
// of the Tab order that Space, Enter or Return click.
Item {
    id: root
    property string systemName
    property real size: MediaText.mediaButtonGlyph
    property bool emphasized: false
    property bool compact: false
    property color accent: IslandPalette.sky
    property alias keys: press.keys
    signal clicked()

    readonly property real diameter: emphasized ? (compact ? 28 : 32) : (compact ? 24 : 28)
    implicitWidth: diameter
    implicitHeight: diameter

    IslandPressStyle {
        id: press
        anchors.fill: parent
        pressed: area.pressed
        onActivated: root.clicked()
        label: SymbolIcons.meaning(root.systemName)
        Rectangle {
            width: root.diameter
            height: root.diameter
            radius: root.diameter / 2
            color: root.emphasized ? root.accent : IslandPalette.fillStrong
            Symbol {
                anchors.centerIn: parent
                name: root.systemName
                size: root.size
                color: root.emphasized ? IslandPalette.black : IslandPalette.textPrimary
            }
        }
    }
    MouseArea {
        id: area
        anchors.fill: parent
        onClicked: (mouse) => {
            if (Math.hypot(mouse.x - width / 2, mouse.y - height / 2) <= width / 2)
                root.clicked()
        }
    }
}
