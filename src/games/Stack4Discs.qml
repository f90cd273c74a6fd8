import QtQuick
import Pavlet
import Pavlet.Style

// A row of small disc stacks, bottom-aligned: the game's pictures.
Row {
    id: root
    required property var stacks
    property real disc: GameViews.howToDiscSize
    property real stackSpacing: IslandStyle.spacingTiny
    Repeater {
        model: root.stacks
        Column {
            required property var modelData
            anchors.bottom: parent ? parent.bottom : undefined
            spacing: root.stackSpacing
            Repeater {
                model: parent.modelData
                Rectangle {
                    required property int modelData
                    width: root.disc
                    height: root.disc
                    radius: width / 2
                    color: modelData === 1 ? IslandPalette.red : IslandPalette.blue
                }
            }
        }
    }
}
