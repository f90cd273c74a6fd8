import QtQuick
import Pavlet

// Three bars swinging with what plays, bottom-aligned in the item's height;
// redrawn at most 30 times a second while shown.
Item {
    id: root
    property color color: "white"
    property real t: IslandViews.referenceSeconds(new Date())

    implicitWidth: 3 * 2 + 2 * 2
    implicitHeight: 12
    width: implicitWidth

    Timer {
        interval: 1000 / 30
        repeat: true
        running: root.visible
        onTriggered: root.t = IslandViews.referenceSeconds(new Date())
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
