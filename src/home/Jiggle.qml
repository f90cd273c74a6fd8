import QtQuick
import Pavlet

// Rocks its target between upright and a small angle while active, each
// item with its own period and phase; settles upright when it stops.
Item {
    id: root
    required property Item target
    property bool active: false
    property jiggleParams params

    SequentialAnimation {
        id: rock
        running: root.active && root.target.visible
        loops: Animation.Infinite
        PauseAnimation { duration: root.params.delay * 1000 }
        SequentialAnimation {
            loops: Animation.Infinite
            NumberAnimation { target: root.target; property: "rotation"; to: root.params.angle; duration: root.params.period * 1000; easing.type: Easing.InOutQuad }
            NumberAnimation { target: root.target; property: "rotation"; to: 0; duration: root.params.period * 1000; easing.type: Easing.InOutQuad }
        }
        onStopped: settle.start()
    }
    NumberAnimation { id: settle; target: root.target; property: "rotation"; to: 0; duration: 120; easing.type: Easing.OutQuad }
}
