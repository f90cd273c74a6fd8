import QtQuick
import Pavlet
import Pavlet.Style

// The four pad colours as small squares.
Item {
    implicitWidth: squares.implicitWidth
    implicitHeight: GameViews.patternVisualHeight
    Row {
        id: squares
        anchors.centerIn: parent
        spacing: IslandStyle.spacing
        Repeater {
            model: 4
            Rectangle {
                required property int index
                width: GameViews.patternSquare
                height: GameViews.patternSquare
                radius: IslandStyle.radiusSmall
                color: GameViews.patternHueColor(index)
            }
        }
    }
}
