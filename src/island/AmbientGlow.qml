import QtQuick
import Qt5Compat.GraphicalEffects
import Pavlet

// The breathing rim of a status pulse, redrawn at most 45 times a second and
// only while shown. The colour comes straight from the palette.
Item {
    id: root
    property int kind: 0
    property real radius: 10
    property bool floating: false

    property real t: IslandViews.referenceSeconds(new Date())
    readonly property var rim: IslandViews.rim(kind, t)
    readonly property color tone: IslandPalette[rim.colorName]

    Timer {
        interval: 1000 / 45
        repeat: true
        running: root.visible
        onTriggered: root.t = IslandViews.referenceSeconds(new Date())
    }

    IslandShape {
        fillColor: "transparent"
        anchors.fill: parent
        cornerRadius: root.radius
        floating: root.floating
        strokeColor: Qt.rgba(root.tone.r, root.tone.g, root.tone.b, root.rim.halo)
        strokeWidth: 3.4
        layer.enabled: GraphicsInfo.api !== GraphicsInfo.Software
        layer.effect: FastBlur { radius: 4 }
    }
    IslandShape {
        fillColor: "transparent"
        anchors.fill: parent
        anchors.margins: 1.1
        cornerRadius: root.radius
        floating: root.floating
        strokeColor: Qt.rgba(root.tone.r, root.tone.g, root.tone.b, root.rim.line)
        strokeWidth: 1.5
    }
}
