import QtQuick
import Pavlet
import Pavlet.Style

// One cell's mark: nothing, the red X or the blue O.
Item {
    id: root
    // ToeMark: 0 empty, 1 red, 2 blue.
    property int mark: 0
    property real size: GameViews.toeGlyphSize
    width: size
    height: size

    ToeXMark {
        anchors.centerIn: parent
        visible: root.mark === 1
        size: root.size
        color: IslandPalette.red
    }
    // The ring's line is centred on a circle of 0.72 of the size, so half
    // of it lies outside that circle.
    Rectangle {
        objectName: "toeRing"
        anchors.centerIn: parent
        visible: root.mark === 2
        width: root.size * 0.72 + border.width
        height: width
        radius: width / 2
        color: "transparent"
        border.width: GameViews.toeLineWidth(root.size)
        border.color: IslandPalette.blue
        antialiasing: true
    }
}
