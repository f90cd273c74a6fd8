import QtQuick
import Pavlet
import Pavlet.Style

// A centred column of bars: {width, dx, gold, white}, top first.
Item {
    id: root
    property var bars: []
    property real barHeight
    property real barRadius
    property real spacing
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    implicitWidth: column.implicitWidth

    Column {
        id: column
        anchors.centerIn: parent
        spacing: root.spacing
        Repeater {
            model: root.bars
            Rectangle {
                required property var modelData
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.horizontalCenterOffset: modelData.dx
                width: modelData.width
                height: root.barHeight
                radius: root.barRadius
                color: modelData.gold ? root.gold : modelData.white
            }
        }
    }
}
