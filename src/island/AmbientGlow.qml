import QtQuick
import Pavlet
import Pavlet.Style

// The breathing rim of a status pulse, redrawn at most 45 times a second and
// only while shown. The colour comes straight from the palette.
Item {
    id: root
    // The pulse's kind (rest first).
    property int kind
    property real radius: IslandStyle.radius
    property bool floating: false

    readonly property rimLook rim: IslandViews.rim(kind, ticker.time)

    AnimationTicker {
        id: ticker
        running: root.visible
        fps: IslandViews.rimFps
    }

    SoftStroke {
        anchors.fill: parent
        cornerRadius: root.radius
        floating: root.floating
        color: IslandPalette.faded(root.rim.color, root.rim.halo)
        strokeWidth: IslandViews.glowHaloWidth
    }
    IslandShape {
        fillColor: IslandPalette.clear
        anchors.fill: parent
        anchors.margins: IslandViews.glowLineInset
        cornerRadius: root.radius
        floating: root.floating
        strokeColor: IslandPalette.faded(root.rim.color, root.rim.line)
        strokeWidth: IslandStyle.strokeThin
    }
}
