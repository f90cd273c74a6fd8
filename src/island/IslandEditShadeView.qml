import QtQuick
import Pavlet
import Pavlet.Style

// The editor's shade across the top of the screen: a softly pulsing ring
// centred on the island at the screen's top edge, with a caption along its
// lower rim. Clicks pass through.
Item {
    id: root
    required property NotchViewModel model
    // The ring: its centre in this view (y down from the screen's top edge)
    // and radius, from the editor's layout.
    property point ringCenter
    property real ringRadius: 280
    readonly property bool pulse: IslandViews.ringLit(ticker.elapsed)

    Rectangle {
        id: ring
        x: root.ringCenter.x - root.ringRadius
        y: root.ringCenter.y - root.ringRadius
        width: root.ringRadius * 2
        height: width
        radius: width / 2
        color: IslandPalette.faded(IslandPalette.white, root.pulse ? 0.38 : 0.1)
        border.width: IslandStyle.stroke
        border.color: IslandPalette.faded(IslandPalette.white, root.pulse ? 0.9 : 0.4)
        antialiasing: true
        Behavior on color { enabled: root.visible; ColorAnimation { duration: 900; easing.type: Easing.InOutQuad } }
        Behavior on border.color { enabled: root.visible; ColorAnimation { duration: 900; easing.type: Easing.InOutQuad } }
    }

    // Breathes between the two opacities for as long as the shade shows.
    AnimationTicker {
        id: ticker
        running: root.visible
        fps: IslandViews.ringPulseFps()
    }

    ArcCaption {
        text: IslandViews.editCaption(root.model.islandEditPhase)
        center: root.ringCenter
        radius: root.ringRadius - 24
    }
}
