import QtQuick
import Pavlet
import QtQuick.Shapes
import Pavlet.Style

// The notch-hung outline: square top corners reaching `hang` (12) above the
// item, two rounded bottom corners. The radius animates; it is clamped to
// half the item's height and width, and a negative one gives square corners.
Shape {
    id: shape
    property real cornerRadius: 0
    property color fillColor: IslandPalette.black
    property color strokeColor: IslandPalette.clear
    property real strokeWidth: 0
    readonly property real hang: 12
    readonly property real r: Math.min(Math.max(cornerRadius, 0), height / 2, width / 2)

    ShapePath {
        fillColor: shape.fillColor
        strokeColor: shape.strokeColor
        strokeWidth: shape.strokeWidth
        startX: 0; startY: -shape.hang
        PathLine { x: shape.width; y: -shape.hang }
        PathLine { x: shape.width; y: shape.height - shape.r }
        PathArc {
            x: shape.width - shape.r; y: shape.height
            radiusX: shape.r; radiusY: shape.r
        }
        PathLine { x: shape.r; y: shape.height }
        PathArc {
            x: 0; y: shape.height - shape.r
            radiusX: shape.r; radiusY: shape.r
        }
        PathLine { x: 0; y: -shape.hang }
    }
}
