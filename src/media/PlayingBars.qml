import QtQuick
import Pavlet
import Pavlet.Style

// Three bars swinging with what plays, bottom-aligned in the item's height;
// redrawn at most 30 times a second while shown.
Item {
    id: root
    property color color: IslandPalette.white
    readonly property real t: ticker.time

    implicitWidth: 3 * MediaText.barWidth + 2 * MediaText.barGap
    implicitHeight: IslandStyle.spacingLarge
    width: implicitWidth

    AnimationTicker {
        id: ticker
        running: root.visible
        fps: MediaText.barsFps
    }

    Repeater {
        model: 3
        Rectangle {
            x: index * (MediaText.barWidth + MediaText.barGap)
            width: MediaText.barWidth
            height: MediaText.playingBarHeight(root.height, root.t, index)
            y: root.height - height
            radius: width / 2
            color: root.color
            antialiasing: true
        }
    }
}
