import QtQuick
import Pavlet
import Pavlet.Style

// Four gold squares and an apple.
Item {
    id: root
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    implicitWidth: row.implicitWidth
    implicitHeight: ActionViews.snakeVisualHeight
    Row {
        id: row
        anchors.verticalCenter: parent.verticalCenter
        spacing: ActionViews.snakeSquareSpacing
        Repeater {
            model: 4
            Rectangle {
                required property int index
                width: ActionViews.snakeSquare
                height: width
                radius: ActionViews.snakeCellRadius
                color: root.gold
                opacity: index === 0 ? 1 : ActionViews.snakeTailOpacity
            }
        }
        Item {
            width: ActionViews.snakeSquare + IslandStyle.spacingTiny
            height: ActionViews.snakeSquare
            Rectangle {
                anchors.right: parent.right
                width: ActionViews.snakeSquare
                height: width
                radius: width / 2
                color: IslandPalette.coral
            }
        }
    }
}
