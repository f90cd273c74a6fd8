import QtQuick
import Qt5Compat.GraphicalEffects
import Pavlet

// The still glow around the island while a timer runs: a soft halo and a
// thin line just inside it. Clicks pass through.
Item {
    id: root
    property real radius: IslandStyle.radius
    property bool floating: false
    property color yellow: IslandPalette.amber

    IslandShape {
        fillColor: IslandPalette.clear
        anchors.fill: parent
        cornerRadius: root.radius
        floating: root.floating
        strokeColor: IslandPalette.faded(root.yellow, 0.45)
        strokeWidth: IslandViews.glowHaloWidth
        layer.enabled: GraphicsInfo.api !== GraphicsInfo.Software
        layer.effect: FastBlur { radius: 4 }
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
