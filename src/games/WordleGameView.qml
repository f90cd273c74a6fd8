import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The five-letter word game: the engine's message and score, the six-by-five
// board, and a keyboard whose keys show the best mark of each letter.
Item {
    id: root
    required property WordleEngine engine
    property bool shown: true

    Component.onCompleted: engine.refreshPrompt()

    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)

    Column {
        id: column
        anchors.fill: parent
        spacing: IslandStyle.spacingMedium

        RowLayout {
            width: parent.width
            Text {
                objectName: "wordleMessage"
                text: root.engine.message
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontBody
                font.weight: Font.Medium
                color: GameViews.wordleLost(root.engine.phase)
                       ? IslandPalette.accent(IslandPalette.coral)
                       : root.gold
            }
            Item { Layout.fillWidth: true }
            TabularText {
                objectName: "wordleScore"
                text: GameViews.wordleScore(root.engine.won, root.engine.played)
                font.pixelSize: IslandStyle.fontCaption
                color: IslandPalette.textTertiary
            }
        }

        Item {
            width: parent.width
            height: board.implicitHeight
            Column {
                id: board
                objectName: "wordleBoard"
                x: (parent.width - width) / 2 + (root.engine.shake ? GameViews.shakeOffset : 0)
                spacing: GameViews.tileSpacing
                Behavior on x {
                    SpringAnimation { spring: IslandStyle.quickSpring.spring; damping: IslandStyle.quickSpring.damping; epsilon: 0.05 }
                }
                Repeater {
                    model: 6
                    Row {
                        id: tileRow
                        required property int index
                        spacing: GameViews.tileSpacing
                        Repeater {
                            model: 5
                            Rectangle {
                                required property int index
                                readonly property wordleTile tile: root.engine.tiles[tileRow.index * 5 + index]
                                width: GameViews.tileSize
                                height: GameViews.tileSize
                                radius: GameViews.tileRadius
                                color: GameViews.wordleTileFill(tile)
                                border.width: 1
                                border.color: IslandPalette.fill
                                Text {
                                    textFormat: Text.PlainText
                                    Accessible.role: Accessible.StaticText
                                    Accessible.name: text
                                    anchors.centerIn: parent
                                    text: GameViews.wordleTileText(parent.tile)
                                    font.family: IslandStyle.roundedFamily
                                    font.pixelSize: IslandStyle.fontSubhead
                                    font.weight: Font.DemiBold
                                    color: IslandPalette.textPrimary
                                }
                            }
                        }
                    }
                }
            }
        }

        Column {
            objectName: "wordleKeyboard"
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: GameViews.tileSpacing
            Repeater {
                model: GameViews.keyRows
                Row {
                    id: keyRow
                    required property int index
                    required property string modelData
                    anchors.horizontalCenter: parent.horizontalCenter
                    spacing: GameViews.keySpacing
                    WordleKey {
                        visible: keyRow.index === 2
                        wide: true
                        title: "enter"
                        onClicked: root.engine.submit()
                    }
                    Repeater {
                        model: keyRow.modelData.split("")
                        WordleKey {
                            required property string modelData
                            objectName: "key_" + modelData
                            title: modelData
                            fill: GameViews.wordleKeyFill(root.engine.keys, modelData)
                            onClicked: root.engine.type(modelData)
                        }
                    }
                    WordleKey {
                        visible: keyRow.index === 2
                        wide: true
                        title: "del"
                        onClicked: root.engine.deleteLetter()
                    }
                }
            }
        }

        Item {
            objectName: "wordleEnd"
            Accessible.role: Accessible.Button
            Accessible.name: endLabel.text
            Accessible.onPressAction: root.engine.newGame()
            anchors.horizontalCenter: parent.horizontalCenter
            visible: GameViews.wordleEndTitle(root.engine.phase).length > 0
            width: endLabel.implicitWidth + 2 * IslandStyle.spacingLarge
            height: endLabel.implicitHeight + 2 * IslandStyle.spacingSmall
            Rectangle {
                anchors.fill: parent
                radius: height / 2
                color: root.gold
                Text {
                    id: endLabel
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    anchors.centerIn: parent
                    text: GameViews.wordleEndTitle(root.engine.phase)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontBody
                    font.weight: Font.Medium
                    color: IslandPalette.black
                }
            }
            MouseArea {
                id: endArea
                anchors.fill: parent
                onClicked: root.engine.newGame()
            }
        }
    }
}
