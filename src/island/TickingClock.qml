import QtQuick
import Pavlet
import Pavlet.Style

// A small analog clock face showing UTC, its hands moving smoothly; redrawn at
// most 30 times a second, only as often as the second hand visibly moves, and
// only while shown.
Item {
    id: root
    property real size: 13
    property color color: IslandPalette.white

    readonly property real t: ticker.time
    readonly property handAngles angles: IslandViews.clockAngles(t)
    readonly property clockMetrics metrics: IslandViews.clockMetrics(size)

    width: size
    height: size
    Accessible.name: qsTr("Timer running")

    AnimationTicker {
        id: ticker
        running: root.visible
        fps: IslandViews.clockFps(root.size)
    }

    component ClockHand: Rectangle {
        property real length
        property real handWidth
        property real angle
        width: handWidth
        height: length
        radius: handWidth / 2
        color: root.color
        x: (root.size - width) / 2
        y: root.size / 2 - length
        transformOrigin: Item.Bottom
        rotation: angle
        antialiasing: true
    }

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: IslandPalette.clear
        border.width: root.metrics.ring
        border.color: IslandPalette.faded(root.color, 0.92)
        antialiasing: true
    }
    ClockHand {
        length: root.metrics.hourLength
        handWidth: root.metrics.hourWidth
        angle: root.angles.hour
    }
    ClockHand {
        length: root.metrics.minuteLength
        handWidth: root.metrics.minuteWidth
        angle: root.angles.minute
    }
    ClockHand {
        length: root.metrics.secondLength
        handWidth: root.metrics.secondWidth
        angle: root.angles.second
        opacity: 0.95
    }
    Rectangle {
        anchors.centerIn: parent
        width: root.metrics.dot
        height: width
        radius: width / 2
        color: root.color
        antialiasing: true
    }
}
