import QtQuick
import Pavlet
import Pavlet.Style

// The mascot: two capsule eyes over a smile, optionally on two stepping legs,
// in one colour and scaled from one size. Upright and without legs it sways
// by itself, redrawn at most 20 times a second.
Item {
    id: root
    property real size: 30
    property bool blink: false
    // Degrees, clockwise.
    property real tilt: 0
    property color color: IslandPalette.white
    // Leg phase in radians; no legs at 0 or below.
    property real legs: 0

    readonly property mascotMetrics m: MascotViews.mascotMetrics(size, blink, legs)
    readonly property bool swaying: MascotViews.mascotSways(tilt, legs)
    readonly property real t: ticker.time
    readonly property mascotSway sway: MascotViews.mascotSway(swaying, t)

    width: size
    height: size

    AnimationTicker {
        id: ticker
        running: root.swaying && root.visible
        fps: MascotViews.mascotFps
    }

    Item {
        id: figure
        anchors.centerIn: parent
        width: root.size
        height: root.size
        rotation: root.tilt
        transform: [
            Translate { y: root.sway.dy },
            Rotation {
                origin.x: figure.width / 2
                origin.y: figure.height / 2
                angle: root.sway.degrees
            }
        ]

        Item {
            id: face
            anchors.centerIn: parent
            width: root.size
            height: root.m.faceHeight

            Column {
                anchors.centerIn: parent
                spacing: root.m.faceSpacing
                Item {
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: root.m.eyeWidth * 2 + root.m.eyeSpacing
                    height: root.m.eyeHeight
                    Repeater {
                        model: 2
                        Rectangle {
                            x: index * (root.m.eyeWidth + root.m.eyeSpacing)
                            width: root.m.eyeWidth
                            height: root.m.eyeHeight
                            radius: Math.min(width, height) / 2
                            color: root.color
                            antialiasing: true
                        }
                    }
                }
                SmileArc {
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: root.m.smileWidth
                    height: root.m.smileHeight
                    color: root.color
                    lineWidth: root.m.smileLine
                }
            }

            Item {
                visible: root.m.showsLegs
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.bottom: parent.bottom
                anchors.bottomMargin: -root.m.legDrop
                width: root.m.legWidth * 2 + root.m.legSpacing
                height: root.m.legHeight
                Rectangle {
                    width: root.m.legWidth
                    height: root.m.legHeight
                    y: root.m.firstLegOffset
                    radius: width / 2
                    color: root.color
                    antialiasing: true
                }
                Rectangle {
                    x: root.m.legWidth + root.m.legSpacing
                    width: root.m.legWidth
                    height: root.m.legHeight
                    y: root.m.secondLegOffset
                    radius: width / 2
                    color: root.color
                    antialiasing: true
                }
            }
        }
    }
}
