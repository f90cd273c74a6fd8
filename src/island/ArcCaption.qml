import QtQuick
import Pavlet
import Pavlet.Style

// A caption written letter by letter along the lower part of a circle, from
// lower left to lower right.
Item {
    id: root
    property string text
    // Centre of the circle, in the parent's coordinates (y down).
    property point center
    property real radius: 100

    anchors.fill: parent

    component Letter: Text {
        textFormat: Text.PlainText
        required property int index
        readonly property point spot: IslandViews.arcPosition(root.center, root.radius, index, root.text.length)
        text: root.text.charAt(index)
        x: spot.x - width / 2
        y: spot.y - height / 2
        rotation: IslandViews.arcRotation(index, root.text.length)
        font.pixelSize: IslandStyle.fontBody
        font.family: IslandStyle.roundedFamily
        font.weight: Font.DemiBold
    }

    // A faint shadow one point below the letters, then the letters.
    Item {
        anchors.fill: parent
        opacity: 0.5
        Repeater {
            model: root.text.length
            Letter { color: IslandPalette.black; transform: Translate { y: 1 } }
        }
    }
    Repeater {
        model: root.text.length
        Letter { color: IslandPalette.white }
    }
}
