import QtQuick
import QtQuick.Shapes
import Pavlet
import Pavlet.Style

// Rounds a field's corners by covering what lies outside each corner's
// quarter circle with the island's black, which stands in for a rounded clip
// on every renderer.
Shape {
    id: root
    property real radius: IslandStyle.radiusLarge
    property color color: IslandPalette.black
    readonly property real r: Math.min(radius, width / 2, height / 2)

    ShapePath {
        strokeColor: "transparent"
        fillColor: root.color
        // Top left.
        startX: 0; startY: 0
        PathLine { x: root.r; y: 0 }
        PathArc { x: 0; y: root.r; radiusX: root.r; radiusY: root.r; direction: PathArc.Counterclockwise }
        PathLine { x: 0; y: 0 }
        // Top right.
        PathMove { x: root.width; y: 0 }
        PathLine { x: root.width; y: root.r }
        PathArc { x: root.width - root.r; y: 0; radiusX: root.r; radiusY: root.r; direction: PathArc.Counterclockwise }
        PathLine { x: root.width; y: 0 }
        // Bottom right.
        PathMove { x: root.width; y: root.height }
        PathLine { x: root.width - root.r; y: root.height }
        PathArc { x: root.width; y: root.height - root.r; radiusX: root.r; radiusY: root.r; direction: PathArc.Counterclockwise }
        PathLine { x: root.width; y: root.height }
        // Bottom left.
        PathMove { x: 0; y: root.height }
        PathLine { x: 0; y: root.height - root.r }
        PathArc { x: root.r; y: root.height; radiusX: root.r; radiusY: root.r; direction: PathArc.Counterclockwise }
        PathLine { x: 0; y: root.height }
    }
}
