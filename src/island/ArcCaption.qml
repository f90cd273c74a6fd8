import QtQuick
import Qt5Compat.GraphicalEffects
import Pavlet

// A caption written letter by letter along the lower part of a circle, from
// lower left to lower right.
Item {
    id: root
    property string text
    // Centre of the circle, in the parent's coordinates (y down).
    property point center
    property real radius: 100

    anchors.fill: parent

    Repeater {
        model: root.text.length
        Text {
            required property int index
            readonly property point spot: IslandViews.arcPosition(root.center, root.radius, index, root.text.length)
            text: root.text.charAt(index)
            x: spot.x - width / 2
            y: spot.y - height / 2
            rotation: IslandViews.arcRotation(index, root.text.length)
            font.pixelSize: 12
            font.weight: Font.DemiBold
            color: "white"
            layer.enabled: true
            layer.effect: DropShadow {
                color: Qt.rgba(0, 0, 0, 0.85)
                radius: 2
                samples: 5
                verticalOffset: 1
                horizontalOffset: 0
            }
        }
    }
}
