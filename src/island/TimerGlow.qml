import QtQuick
import Qt5Compat.GraphicalEffects
import Pavlet

// The still glow around the island while a timer runs: a soft halo and a
// thin line just inside it. Clicks pass through.
Item {
    id: root
    property real radius: 10
    property bool floating: false
    property color yellow: "yellow"

    IslandShape {
        fillColor: "transparent"
        anchors.fill: parent
        cornerRadius: root.radius
        floating: root.floating
        strokeColor: Qt.rgba(root.yellow.r, root.yellow.g, root.yellow.b, 0.45)
        strokeWidth: 3.4
        layer.enabled: GraphicsInfo.api !== GraphicsInfo.Software
        layer.effect: FastBlur { radius: 4 }
    }
    IslandShape {
        fillColor: "transparent"
        anchors.fill: parent
        anchors.margins: 1.1
        cornerRadius: root.radius
        floating: root.floating
        strokeColor: root.yellow
        strokeWidth: 1.5
    }
}
