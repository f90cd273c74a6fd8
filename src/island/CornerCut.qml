import QtQuick
import Pavlet
import QtQuick.Shapes
import Pavlet.Style

// Covers the four corners of its area outside a rounded rectangle with the
// colour behind it, so that square content under it looks rounded.
Shape {
    id: shape
    property real cornerRadius: 0
    property color backdrop: IslandPalette.black
    readonly property real r: Math.min(Math.max(cornerRadius, 0), height / 2, width / 2)

    ShapePath {
        fillColor: shape.backdrop
        strokeColor: IslandPalette.clear
        strokeWidth: 0
        startX: 0; startY: 0
        PathLine { x: shape.r; y: 0 }
        PathArc { x: 0; y: shape.r; radiusX: shape.r; radiusY: shape.r; direction: PathArc.Counterclockwise }
        PathLine { x: 0; y: 0 }
        PathMove { x: shape.width; y: 0 }
        PathLine { x: shape.width; y: shape.r }
        PathArc { x: shape.width - shape.r; y: 0; radiusX: shape.r; radiusY: shape.r; direction: PathArc.Counterclockwise }
        PathLine { x: shape.width; y: 0 }
        PathMove { x: shape.width; y: shape.height }
        PathLine { x: shape.width - shape.r; y: shape.height }
        PathArc { x: shape.width; y: shape.height - shape.r; radiusX: shape.r; radiusY: shape.r; direction: PathArc.Counterclockwise }
        PathLine { x: shape.width; y: shape.height }
        PathMove { x: 0; y: shape.height }
        PathLine { x: 0; y: shape.height - shape.r }
        PathArc { x: shape.r; y: shape.height; radiusX: shape.r; radiusY: shape.r; direction: PathArc.Counterclockwise }
        PathLine { x: 0; y: shape.height }
    }
}
