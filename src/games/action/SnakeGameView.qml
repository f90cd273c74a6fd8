import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// Snake: the apple count and best over a 17 × 11 board of rounded cells, the
// how-to card before a run and the game-over card after one. Arrows and WASD
// reach the engine through the island's model.
Item {
    id: root
    required property SnakeEngine engine
    property bool shown: true
    onShownChanged: shown ? engine.resume() : engine.stopTimer()
    Component.onCompleted: if (shown) engine.resume()

    implicitHeight: ActionViews.fieldMinHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    // Read once per step; every cell looks its state up here.
    readonly property var cells: engine.cells

    Rectangle {
        id: area
        objectName: "snakeArea"
        anchors.fill: parent
        radius: IslandStyle.radiusLarge
        color: IslandPalette.fill

        ColumnLayout {
            anchors.fill: parent
            anchors.margins: IslandStyle.spacingMedium
            spacing: IslandStyle.spacing

            RowLayout {
                Layout.fillWidth: true
                TabularText {
                    objectName: "snakeApples"
                    text: ActionViews.snakeApples(root.engine.score)
                    font.pixelSize: IslandStyle.fontFootnote
                    color: IslandPalette.textPrimary
                }
                Item { Layout.fillWidth: true }
                TabularText {
                    objectName: "snakeBest"
                    visible: text.length > 0
                    text: ActionViews.snakeBest(root.engine.best)
                    font.pixelSize: IslandStyle.fontFootnote
                    color: root.gold
                }
            }

            Item {
                id: boardSpace
                Layout.fillWidth: true
                Layout.fillHeight: true
                readonly property real cell: ActionViews.snakeCell(width, height)
                readonly property real pitch: cell + ActionViews.snakeGap

                Rectangle {
                    id: board
                    objectName: "snakeBoard"
                    anchors.centerIn: parent
                    width: root.engine.columns * boardSpace.cell + (root.engine.columns - 1) * ActionViews.snakeGap
                    height: root.engine.rows * boardSpace.cell + (root.engine.rows - 1) * ActionViews.snakeGap
                    radius: IslandStyle.radius
                    color: IslandPalette.black35

                    Repeater {
                        model: root.engine.columns * root.engine.rows
                        Rectangle {
                            required property int index
                            readonly property int state: root.cells[index] ?? 0
                            readonly property real c: boardSpace.cell
                            x: boardSpace.pitch * (index % root.engine.columns)
                            y: boardSpace.pitch * Math.floor(index / root.engine.columns)
                            width: c
                            height: c
                            radius: ActionViews.snakeCellRadius
                            color: IslandPalette.white04
                            Rectangle {
                                visible: ActionViews.snakeShowsApple(parent.state)
                                anchors.centerIn: parent
                                width: parent.c * ActionViews.snakeAppleShare
                                height: width
                                radius: width / 2
                                color: IslandPalette.coral
                            }
                            Rectangle {
                                visible: ActionViews.snakeShowsBody(parent.state)
                                anchors.centerIn: parent
                                width: parent.c * ActionViews.snakeBodyShare
                                height: width
                                radius: ActionViews.snakeBodyRadius(parent.state)
                                opacity: ActionViews.snakeBodyOpacity(parent.state)
                                color: root.gold
                            }
                        }
                    }
                }
            }
        }
    }

    ArcadeHowTo {
        objectName: "snakeHowTo"
        anchors.fill: parent
        visible: root.engine.phase === SnakeEngine.Phase.howto
        title: "Pavlet Snake"
        detail: "Eat the apples. Grow. Don\u2019t hit a wall or yourself. Arrows or WASD steer. Best is apples eaten."
        actionTitle: "Play"
        hasAction: true
        visual: Component { SnakeHowToVisual {} }
        onActionTriggered: root.engine.start()
    }

    GameResultCard {
        objectName: "snakeOver"
        anchors.fill: parent
        visible: root.engine.phase === SnakeEngine.Phase.over
        Text {
            textFormat: Text.PlainText
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Game over"
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontTitle3
            font.weight: Font.DemiBold
            color: IslandPalette.textPrimary
        }
        TabularText {
            objectName: "snakeOverLine"
            anchors.horizontalCenter: parent.horizontalCenter
            text: ActionViews.snakeOverLine(root.engine.score, root.engine.best)
            font.pixelSize: IslandStyle.fontFootnote
            color: IslandPalette.textSecondary
        }
        ArcadeChip {
            anchors.horizontalCenter: parent.horizontalCenter
            title: "Play again"
            selected: true
            onClicked: root.engine.start()
        }
    }
}
