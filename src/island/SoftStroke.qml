import QtQuick
import Pavlet
import Pavlet.Style

// A soft halo along the island's outline: the stroke drawn three times,
// widening and fading, which reads as a small blur under either renderer.
Item {
    id: root
    property real cornerRadius: IslandStyle.radius
    property bool floating: false
    property color color: IslandPalette.clear
    property real strokeWidth: 0

    Repeater {
        model: 3
        IslandShape {
            required property int index
            anchors.fill: parent
            fillColor: IslandPalette.clear
            cornerRadius: root.cornerRadius
            floating: root.floating
            strokeColor: IslandPalette.faded(root.color, root.color.a * (index + 1) / 6)
            strokeWidth: root.strokeWidth + (2 - index) * 3
        }
    }
}
