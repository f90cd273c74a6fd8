import QtQuick
import Pavlet

// Four dots, one per pad colour.
Item {
    width: GameViews.hubMarkWidth
    height: GameViews.hubMarkHeight
    Row {
        id: dots
        anchors.centerIn: parent
        width: GameViews.hubMarkWidth
        height: GameViews.patternDotRowHeight
        spacing: GameViews.hubDiscRowSpacing
        readonly property real dot: Math.min(height, (width - 3 * spacing) / 4)
        leftPadding: (width - 4 * dot - 3 * spacing) / 2
        Repeater {
            model: 4
            Rectangle {
                required property int index
                anchors.verticalCenter: parent.verticalCenter
                width: dots.dot
                height: dots.dot
                radius: width / 2
                color: GameViews.patternHueColor(index)
            }
        }
    }
}
