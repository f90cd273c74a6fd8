import QtQuick
import Pavlet
import Pavlet.Style

// The opponent chips of the two board games: Local, Easy, Medium, Hard.
Row {
    id: root
    required property arcadeVersus versus
    // choice: 0 local, 1...3 the computer's levels easy to hard.
    signal chosen(int choice, string level)
    spacing: IslandStyle.spacingSmall

    Repeater {
        model: GameViews.versusTitles()
        ArcadeChip {
            required property int index
            required property string modelData
            title: modelData
            selected: GameViews.versusSelected(index, root.versus.local, root.versus.level)
            onClicked: root.chosen(index, GameViews.versusLevel(index))
        }
    }
}
