import QtQuick
import Pavlet
import Pavlet.Style

// The X: two crossed capsules.
Item {
    id: root
    property real size: GameViews.toeGlyphSize
    property color color: IslandPalette.red
    width: size
    height: size
    Repeater {
        model: [45, -45]
        Rectangle {
            required property real modelData
            anchors.centerIn: parent
            width: GameViews.toeLineWidth(root.size)
            height: root.size
            radius: width / 2
            rotation: modelData
            color: root.color
            antialiasing: true
        }
    }
}
