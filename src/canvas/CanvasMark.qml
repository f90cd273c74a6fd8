import QtQuick
import QtQuick.Shapes
import Pavlet
import Pavlet.Style

// The Canvas mark: a black disc, an open ring in red with its gap at the
// bottom, and a faint red outline.
Item {
    id: root
    property real size: CanvasViews.markSize
    property color color: IslandPalette.red
    implicitWidth: size
    implicitHeight: size

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: IslandPalette.black
    }
    Shape {
        anchors.fill: parent
        ShapePath {
            strokeColor: root.color
            strokeWidth: root.size * 0.2
            fillColor: IslandPalette.clear
            capStyle: ShapePath.RoundCap
            // The trimmed circle, 0.14 to 0.86 of the way round from the
            // bottom, so the gap of 0.28 turns sits at the bottom.
            PathAngleArc {
                centerX: root.size / 2
                centerY: root.size / 2
                radiusX: root.size / 2 - root.size * 0.16
                radiusY: radiusX
                startAngle: 90 + 0.14 * 360
                sweepAngle: 0.72 * 360
            }
        }
    }
    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: IslandPalette.clear
        border.width: IslandStyle.strokeHair
        border.color: IslandPalette.faded(root.color, 0.45)
    }
}
