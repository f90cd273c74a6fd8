import QtQuick
import Pavlet
import Pavlet.Style

// The keyboard's mark on a control of the settings window: a ring in the
// accent colour just outside the shape it follows (its parent).
Rectangle {
    id: ring
    // Whether the control holds the keyboard.
    property bool shown: false
    objectName: "focusRing"
    anchors.fill: parent
    anchors.margins: -IslandStyle.spacingHair - IslandStyle.strokeHair
    radius: (parent && parent.radius !== undefined ? parent.radius : 0) + IslandStyle.spacingHair + IslandStyle.strokeHair
    visible: shown
    color: IslandPalette.clear
    border.width: IslandStyle.stroke
    border.color: IslandPalette.accent(IslandPalette.sky)
}
