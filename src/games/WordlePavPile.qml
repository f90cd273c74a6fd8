import QtQuick
import Pavlet
import Pavlet.Style

// The word game's card picture: three letter tiles, P A V, in a loose pile.
Item {
    id: root
    width: GameViews.hubMarkWidth
    height: GameViews.hubMarkHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)

    Repeater {
        model: GameViews.pavPile
        Item {
            required property var modelData
            width: GameViews.pavTileSize
            height: GameViews.pavTileSize
            x: (root.width - width) / 2 + modelData.dx
            y: (root.height - height) / 2 + modelData.dy
            rotation: modelData.rotation
            Rectangle {
                y: 1
                width: parent.width; height: parent.height
                radius: GameViews.pavTileRadius
                color: IslandPalette.black35
            }
            Rectangle {
                anchors.fill: parent
                radius: GameViews.pavTileRadius
                color: modelData.goldOpacity > 0 ? IslandPalette.faded(root.gold, modelData.goldOpacity)
                                 : IslandPalette.white22
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    anchors.centerIn: parent
                    text: modelData.letter
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: GameViews.pavTileFont
                    font.weight: Font.DemiBold
                    color: IslandPalette.textPrimary
                }
            }
        }
    }
}
