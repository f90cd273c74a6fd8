import QtQuick
import Pavlet
import Pavlet.Style

// The still glow around the island while a timer runs: a soft halo and a
// thin line just inside it. Clicks pass through.
Item {
    id: root
    property real radius: IslandStyle.radius
    property bool floating: false
    property color yellow: IslandPalette.amber

    SoftStroke {
        anchors.fill: parent
        cornerRadius: root.radius
        floating: root.floating
        color: IslandPalette.faded(root.yellow, 0.45)
        strokeWidth: IslandViews.glowHaloWidth
    }
    IslandShape {
        fillColor: IslandPalette.clear
        anchors.fill: parent
        anchors.margins: IslandViews.glowLineInset
        cornerRadius: root.radius
        floating: root.floating
        strokeColor: root.yellow
        strokeWidth: IslandStyle.strokeThin
    }
}
