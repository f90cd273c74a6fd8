import QtQuick
import Pavlet
import Pavlet.Style

// The how-to card's picture: the emblem beside the key legend.
Item {
    id: root
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    implicitWidth: row.implicitWidth
    implicitHeight: ActionViews.blocksHowToHeight

    Row {
        id: row
        anchors.verticalCenter: parent.verticalCenter
        spacing: IslandStyle.spacingXLarge
        BlocksZigZag {
            anchors.verticalCenter: parent.verticalCenter
            cell: ActionViews.blocksHowToCell
            color: root.gold
        }
        Column {
            anchors.verticalCenter: parent.verticalCenter
            spacing: ActionViews.blocksKeyRowSpacing
            Repeater {
                model: ActionViews.blocksKeyLegend
                Row {
                    required property var modelData
                    spacing: IslandStyle.spacingSmall
                    Text {
                        textFormat: Text.PlainText
                        width: ActionViews.blocksKeyWidth
                        text: modelData.key
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontCaption
                        color: root.gold
                    }
                    Text {
                        textFormat: Text.PlainText
                        text: modelData.meaning
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontCaption
                        color: IslandPalette.textSecondary
                    }
                }
            }
        }
    }
}
