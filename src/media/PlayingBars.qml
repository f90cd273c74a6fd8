import QtQuick
import Pavlet

// Three bars swinging with what plays, bottom-aligned in the item's height;
// redrawn at most 30 times a second while shown.
Item {
    id: root
    property color color: IslandPalette.white
    readonly property real t: ticker.time

    implicitWidth: 3 * 2 + 2 * 2
    implicitHeight: 12
    width: implicitWidth

    AnimationTicker {
        id: ticker
        running: root.visible
        fps: 30
    }

    Repeater {
        model: 3
        Rectangle {
            x: index * 4
            width: 2
            height: IslandViews.playingBarHeight(root.height, root.t, index)
            y: root.height - height
            radius: 1
            color: root.color
            antialiasing: true
        }
    }
}
