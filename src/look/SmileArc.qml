import QtQuick
import Pavlet
import QtQuick.Shapes
import Pavlet.Style

// The smile's curve: a quadratic from the left to the right edge at a fifth of
// the height, bending down through the bottom centre. Its round caps reach
// half a line past the ends.
ShapeLayer {
    id: root
    property color color: IslandPalette.white
    property real lineWidth: 1
    reach: Math.ceil(root.lineWidth) + 1

    Shape {
        anchors.fill: parent
        ShapePath {
            fillColor: IslandPalette.clear
            strokeColor: root.color
            strokeWidth: root.lineWidth
            capStyle: ShapePath.RoundCap
            joinStyle: ShapePath.MiterJoin
            startX: 0
            startY: root.height * 0.2
            PathQuad {
                x: root.width
                y: root.height * 0.2
                controlX: root.width / 2
                controlY: root.height
            }
        }
    }
}
