import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// Tic-tac-toe: the board card, with the how-to card over it before a game
// and the result panel after one.
Item {
    id: root
    required property ToeEngine engine
    property bool shown: true
    onShownChanged: if (!shown) engine.stop()

    implicitHeight: GameViews.gameMinHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    readonly property int lineMark: GameViews.toeLineMark(engine.cells, engine.winLine)

    // The board card, at the bottom centre.
    Rectangle {
        id: board
        objectName: "toeBoard"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        width: Math.min(GameViews.toeBoardMaxWidth, root.width)
        height: boardColumn.implicitHeight + 2 * IslandStyle.spacingLarge
        radius: IslandStyle.radiusLarge
        color: IslandPalette.fill

        Column {
            id: boardColumn
            anchors.centerIn: parent
            width: board.width - 2 * IslandStyle.spacingLarge
            spacing: IslandStyle.spacing

            RowLayout {
                width: parent.width
                Text {
                    objectName: "toeTurn"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: GameViews.toeTurnText(root.engine.phase, root.engine.versus.local, root.engine.redTurn)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    color: root.engine.redTurn ? IslandPalette.red : IslandPalette.blue
                }
                Item { Layout.fillWidth: true }
                TabularText {
                    objectName: "toeWins"
                    visible: root.engine.wins >= 1
                    text: "Wins " + root.engine.wins
                    font.pixelSize: IslandStyle.fontFootnote
                    color: root.gold
                }
            }

            Grid {
                id: grid
                columns: 3
                spacing: IslandStyle.spacing
                readonly property real cell: (boardColumn.width - 2 * spacing) / 3
                Repeater {
                    model: 9
                    Rectangle {
                        id: cell
                        required property int index
                        readonly property int mark: root.engine.cells[index]
                        readonly property bool inLine: root.engine.winLine.indexOf(index) >= 0
                        objectName: "toeCell" + index
                        width: grid.cell
                        height: grid.cell
                        radius: IslandStyle.radius
                        color: inLine ? GameViews.toeLineFill(root.lineMark)
                                      : IslandPalette.black28
                        ToeGlyph {
                            anchors.centerIn: parent
                            mark: cell.mark
                            size: GameViews.toeGlyphSize
                        }
                        MouseArea {
                            anchors.fill: parent
                            enabled: GameViews.toeCellEnabled(root.engine.phase, root.engine.busy, cell.mark)
                            onClicked: root.engine.play(cell.index)
                        }
                    }
                }
            }
        }
    }

    OwnHowToCard {
        objectName: "toeHowTo"
        anchors.fill: parent
        visible: root.engine.phase === ToeEngine.Phase.howto
        title: "Pavlet Tic-Tac-Toe"
        detail: "Three in a row. Red is X, blue is O. Play a friend, or pick an NPC."
        visual: Component { ToeHowToVisual {} }

        VersusChips {
            anchors.horizontalCenter: parent.horizontalCenter
            versus: root.engine.versus
            onChosen: (choice, level) => {
                if (choice === 0)
                    root.engine.setVersusLocal()
                else
                    root.engine.setVersusNpc(level)
            }
        }
        ArcadeChip {
            anchors.horizontalCenter: parent.horizontalCenter
            title: "Play"
            selected: true
            onClicked: root.engine.start()
        }
    }

    GameResultCard {
        objectName: "toeResult"
        anchors.fill: parent
        visible: root.engine.phase === ToeEngine.Phase.over
        bottomInset: IslandStyle.spacingMedium
        rowSpacing: IslandStyle.spacingMedium

        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.horizontalCenter: parent.horizontalCenter
            text: GameViews.toeResultText(root.engine.outcome, root.engine.versus.local)
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontTitle3
            font.weight: Font.DemiBold
            color: IslandPalette.textPrimary
        }
        Text {
            objectName: "toeResultWins"
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.horizontalCenter: parent.horizontalCenter
            visible: GameViews.toeShowsResultWins(root.engine.wins, root.engine.versus.local)
            text: "Wins " + root.engine.wins
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontFootnote
            color: IslandPalette.textSecondary
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: IslandStyle.spacing
            ArcadeChip { title: "Play again"; selected: true; onClicked: root.engine.start() }
            ArcadeChip { title: "Mode"; onClicked: root.engine.reset() }
        }
    }
}
