import QtQuick
import Pavlet
import Pavlet.Style

// A small fixed board: the game's picture on its how-to card and its card.
Grid {
    id: root
    property real cell: GameViews.toeHowToCell
    columns: 3
    spacing: GameViews.toeMiniSpacing(cell)
    Repeater {
        model: GameViews.toeMiniMarks()
        Rectangle {
            required property int modelData
            width: root.cell
            height: root.cell
            radius: GameViews.toeMiniRadius(root.cell)
            color: IslandPalette.white10
            ToeGlyph {
                anchors.centerIn: parent
                mark: parent.modelData
                size: root.cell * 0.72
            }
        }
    }
}
