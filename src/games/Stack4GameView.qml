import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// Connect four: the board of seven columns, with the how-to card over it
// before a game and the result card after one. The falling disc follows the
// engine's travel as its animation hint shapes it.
Item {
    id: root
    required property Stack4Engine engine
    property bool shown: true
    onShownChanged: if (!shown) engine.stop()

    implicitHeight: GameViews.gameMinHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    readonly property bool live: GameViews.stack4BoardLive(engine.phase, engine.busy)

    Stack4Fall { id: fall; engine: root.engine }
    AnimationTicker { id: ticker; running: root.shown && root.engine.fallingIndex !== null; fps: 60 }
    readonly property real fallOffset: fall.offset(ticker.time, fall.revision)

    Rectangle {
        id: panel
        objectName: "stack4Board"
        anchors.centerIn: parent
        width: root.width
        height: panelColumn.implicitHeight + 2 * IslandStyle.spacingLarge
        radius: IslandStyle.radiusLarge
        color: IslandPalette.fill

        Column {
            id: panelColumn
            anchors.centerIn: parent
            width: panel.width - 2 * IslandStyle.spacingLarge
            spacing: IslandStyle.spacing

            RowLayout {
                width: parent.width
                Text {
                    objectName: "stack4Status"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: GameViews.stack4StatusText(root.engine.phase, root.engine.versus.local, root.engine.redTurn)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCallout
                    font.weight: Font.Medium
                    color: root.engine.redTurn ? IslandPalette.red : IslandPalette.blue
                }
                Item { Layout.fillWidth: true }
                TabularText {
                    objectName: "stack4Wins"
                    visible: root.engine.wins >= 1
                    text: "Wins " + root.engine.wins
                    font.pixelSize: IslandStyle.fontFootnote
                    color: root.gold
                }
            }

            Row {
                id: columns
                width: parent.width
                spacing: GameViews.discSpacing
                readonly property real columnWidth: (width - 6 * spacing) / 7
                Repeater {
                    model: 7
                    Item {
                        id: column
                        required property int index
                        objectName: "stack4Column" + index
                        width: columns.columnWidth
                        height: discs.implicitHeight + 2 * GameViews.columnInsetY
                        Rectangle {
                            anchors.fill: parent
                            radius: IslandStyle.radius
                            color: root.engine.cursor === column.index ? IslandPalette.white12 : IslandPalette.white05
                        }
                        Item {
                            anchors.fill: parent
                            anchors.topMargin: GameViews.columnInsetY
                            anchors.bottomMargin: GameViews.columnInsetY
                            anchors.leftMargin: GameViews.columnInsetX
                            anchors.rightMargin: GameViews.columnInsetX
                            clip: true
                            Column {
                                id: discs
                                anchors.horizontalCenter: parent.horizontalCenter
                                spacing: GameViews.discSpacing
                                Repeater {
                                    model: 6
                                    Rectangle {
                                        id: disc
                                        required property int index
                                        readonly property int at: GameViews.stack4DiscIndex(column.index, index)
                                        readonly property int slot: root.engine.board[at]
                                        readonly property bool isFalling: root.engine.fallingIndex === at
                                        objectName: "disc" + at
                                        width: GameViews.discSize
                                        height: GameViews.discSize
                                        radius: width / 2
                                        z: isFalling ? 2 : 0
                                        transform: Translate { y: disc.isFalling ? -root.fallOffset : 0 }
                                        readonly property color hue: slot === 1 ? IslandPalette.red : IslandPalette.blue
                                        readonly property real fillOpacity: GameViews.stack4DiscOpacity(at, root.engine.winCells)
                                        // Only the fill is dimmed; the outline keeps its own opacity.
                                        color: slot === 0 ? IslandPalette.black38 : IslandPalette.faded(hue, fillOpacity)
                                        border.width: 1
                                        border.color: IslandPalette.white12
                                        antialiasing: true
                                    }
                                }
                            }
                        }
                        HoverHandler {
                            enabled: root.live
                            onHoveredChanged: if (hovered) root.engine.setCursor(column.index)
                        }
                        TapHandler {
                            enabled: root.live
                            onTapped: {
                                root.engine.setCursor(column.index)
                                root.engine.drop(column.index)
                            }
                        }
                    }
                }
            }
        }
    }

    OwnHowToCard {
        objectName: "stack4HowTo"
        anchors.fill: parent
        visible: root.engine.phase === Stack4Engine.Phase.howto
        title: "Pavlet Stack4"
        detail: "Connect four in a row. Red and blue drop in turns. Play a friend, or pick an NPC."
        visual: Component { Stack4HowToVisual {} }

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
        objectName: "stack4Result"
        anchors.fill: parent
        visible: root.engine.phase === Stack4Engine.Phase.over
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.horizontalCenter: parent.horizontalCenter
            text: GameViews.stack4ResultText(root.engine.winner, root.engine.versus.local)
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontTitle3
            font.weight: Font.DemiBold
            color: IslandPalette.textPrimary
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: IslandStyle.spacing
            ArcadeChip { title: "Play again"; selected: true; onClicked: root.engine.start() }
            ArcadeChip { title: "Mode"; onClicked: root.engine.reset() }
        }
    }
}
