import QtQuick
import Pavlet

// Two eyes over a smile that breathes slowly and blinks every 3.51 s; the
// breathing redraws at most 20 times a second, only as often as it visibly
// moves, and only while shown.
Item {
    id: root
    width: 14
    height: 10

    readonly property bool blink: blinker.blink
    property real eyeHeight: IslandViews.smileEyeHeight(false)
    readonly property color ink: IslandPalette.faded(IslandPalette.white, 0.88)

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
        spacing: 1.5
        scale: IslandViews.smileScale(ticker.time)

        Item {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 1.8 * 2 + 3.5
            height: 1.8
            Repeater {
                model: 2
                Rectangle {
                    x: index * (1.8 + 3.5)
                    anchors.verticalCenter: parent.verticalCenter
                    width: 1.8
                    height: root.eyeHeight
                    radius: Math.min(width, height) / 2
                    color: root.ink
                    antialiasing: true
                }
            }
        }
        SmileArc {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 8
            height: 3.5
            color: root.ink
            lineWidth: 1.15
        }
    }
}
