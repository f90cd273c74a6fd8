import QtQuick
import Pavlet
import QtQuick.Shapes
import Pavlet.Style

// The island's outline: a rounded rectangle when it floats, else the
// notch-hung outline. Only the radius animates; floating switches at once.
Item {
    id: root
    property real cornerRadius: 0
    property bool floating: false
    property color fillColor: IslandPalette.black
    property color strokeColor: IslandPalette.clear
    property real strokeWidth: 0
    readonly property real effectiveRadius: Math.min(Math.max(cornerRadius, 0), height / 2, width / 2)

    Rectangle {
        anchors.fill: parent
        visible: root.floating
        radius: root.effectiveRadius
        color: root.fillColor
        border.color: root.strokeColor
        border.width: root.strokeWidth
        antialiasing: true
    }

    HangShape {
        anchors.fill: parent
        visible: !root.floating
        cornerRadius: root.cornerRadius
        fillColor: root.fillColor
        strokeColor: root.strokeColor
        strokeWidth: root.strokeWidth
    }
}
