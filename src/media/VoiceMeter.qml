import QtQuick
import Pavlet
import Pavlet.Style

// Five level bars that light up from the left as the level rises.
Row {
    id: root
    property real level: 0
    readonly property color coral: IslandPalette.accent(IslandPalette.coral)
    spacing: MediaText.meterBarWidth
    height: MediaText.meterHeight
    Repeater {
        model: 5
        Rectangle {
            required property int index
            anchors.verticalCenter: parent.verticalCenter
            width: MediaText.meterBarWidth
            radius: width / 2
            height: MediaText.meterBarHeight(root.level, index)
            color: IslandPalette.faded(root.coral, MediaText.meterBarLit(root.level, index) ? 0.95 : 0.28)
            Behavior on height { SpringAnimation { spring: IslandStyle.pressSpring.spring; damping: IslandStyle.pressSpring.damping; epsilon: 0.05 } }
        }
    }
}
