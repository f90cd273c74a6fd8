import QtQuick
import Pavlet

// The game's emblem: five squares stepping down to the right.
Item {
    id: root
    property real cell: 10
    property color color: "white"
    readonly property real gap: ActionViews.zigZagGap(cell)

    implicitWidth: 4 * cell + 3 * gap
    implicitHeight: 3 * cell + 2 * gap
    width: implicitWidth
    height: implicitHeight

    Repeater {
        model: ActionViews.zigZagSquares
        Rectangle {
            required property var modelData
            x: modelData.col * (root.cell + root.gap)
            y: modelData.row * (root.cell + root.gap)
            width: root.cell
            height: root.cell
            radius: ActionViews.zigZagRadius(root.cell)
            color: root.color
        }
    }
}
