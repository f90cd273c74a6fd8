import QtQuick
import Pavlet
import Pavlet.Style

// Two eyes over a smile that breathes slowly and blinks every 3.51 s; the
// breathing redraws at most 20 times a second, only as often as it visibly
// moves, and only while shown.
Item {
    id: root
    readonly property smileMetrics m: IslandViews.smileMetrics()
    width: m.width
    height: m.height

    readonly property bool blink: blinker.blink
    property real eyeHeight: IslandViews.smileEyeHeight(false)
    readonly property color ink: IslandPalette.faded(IslandPalette.white, m.inkOpacity)

    AnimationTicker {
        id: ticker
        running: root.visible
        fps: IslandViews.smileFps()
    }

    // Open for 3.4 s, then the eyes close in 0.07 s and open again in 0.09 s
    // from 0.11 s after closing began. Between blinks no animation runs and
    // nothing asks for frames but the breathing.
    BlinkLoop {
        id: blinker
        running: root.visible
    }
    Behavior on eyeHeight {
        NumberAnimation {
            duration: root.blink ? blinker.closeMs : blinker.openAnimMs
            easing.type: root.blink ? Easing.InQuad : Easing.OutQuad
        }
    }
    onBlinkChanged: eyeHeight = IslandViews.smileEyeHeight(blink)

    Column {
        anchors.centerIn: parent
        spacing: root.m.spacing
        scale: IslandViews.smileScale(ticker.time)

        Item {
            anchors.horizontalCenter: parent.horizontalCenter
            width: root.m.eyeWidth * 2 + root.m.eyeSpacing
            height: root.m.eyeWidth
            Repeater {
                model: 2
                Rectangle {
                    x: index * (root.m.eyeWidth + root.m.eyeSpacing)
                    anchors.verticalCenter: parent.verticalCenter
                    width: root.m.eyeWidth
                    height: root.eyeHeight
                    radius: Math.min(width, height) / 2
                    color: root.ink
                    antialiasing: true
                }
            }
        }
        SmileArc {
            anchors.horizontalCenter: parent.horizontalCenter
            width: root.m.mouthWidth
            height: root.m.mouthHeight
            color: root.ink
            lineWidth: root.m.mouthLine
        }
    }
}
