import QtQuick
import Pavlet

// The editor's shade across the top of the screen: a softly pulsing ring
// centred on the island at the screen's top edge, with a caption along its
// lower rim. Clicks pass through.
Item {
    id: root
    property var model
    // The ring: its centre in this view (y down from the screen's top edge)
    // and radius, from the editor's layout.
    property point ringCenter
    property real ringRadius: 280
    property bool pulse: false

    readonly property int phase: model ? model.islandEditPhase : 0

    Rectangle {
        id: ring
        x: root.ringCenter.x - root.ringRadius
        y: root.ringCenter.y - root.ringRadius
        width: root.ringRadius * 2
        height: width
        radius: width / 2
        color: Qt.rgba(1, 1, 1, root.pulse ? 0.38 : 0.1)
        border.width: 2
        border.color: Qt.rgba(1, 1, 1, root.pulse ? 0.9 : 0.4)
        antialiasing: true
        Behavior on color { enabled: root.visible; ColorAnimation { duration: 900; easing.type: Easing.InOutQuad } }
        Behavior on border.color { enabled: root.visible; ColorAnimation { duration: 900; easing.type: Easing.InOutQuad } }
    }

    // Breathes between the two opacities for as long as the shade shows.
    Timer {
        interval: 900
        repeat: true
        triggeredOnStart: true
        running: root.visible
        onTriggered: root.pulse = !root.pulse
    }

    ArcCaption {
        text: IslandViews.editCaption(root.phase)
        center: root.ringCenter
        radius: root.ringRadius - 24
    }
}
