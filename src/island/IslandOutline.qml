import QtQuick
import QtQuick.Shapes
import Pavlet

// The island's outline, filled or stroked.
Shape {
    id: root
    property real cornerRadius: 10
    property bool floating: false
    property color fillColor: "transparent"
    property color strokeColor: "transparent"
    property real strokeWidth: 1

    ShapePath {
        fillColor: root.fillColor
        strokeColor: root.strokeColor
        strokeWidth: root.strokeColor.a > 0 ? root.strokeWidth : -1
        capStyle: ShapePath.FlatCap
        joinStyle: ShapePath.MiterJoin
        PathSvg {
            path: IslandViews.outlinePath(root.width, root.height, root.cornerRadius, root.floating)
        }
    }
}
