import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The colour-pattern game: four pads that light in a growing sequence, with
// the how-to card before a game and the game-over card after one.
Item {
    id: root
    required property PatternEngine engine
    property bool shown: true
    onShownChanged: if (!shown) engine.stop()

    implicitHeight: GameViews.patternMinHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    readonly property bool padsLive: GameViews.patternPadsLive(engine.phase)

    Rectangle {
        id: board
        objectName: "patternBoard"
        anchors.fill: parent
        radius: IslandStyle.radiusLarge
        color: IslandPalette.fill

        ColumnLayout {
            anchors.fill: parent
            anchors.margins: IslandStyle.spacingLarge
            spacing: IslandStyle.spacingLarge

            RowLayout {
                Layout.fillWidth: true
                Text {
                    objectName: "patternStatus"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: GameViews.patternStatus(root.engine.phase, root.engine.round)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCallout
                    font.weight: Font.Medium
                    color: root.gold
                }
                Item { Layout.fillWidth: true }
                TabularText {
                    objectName: "patternBest"
                    visible: text.length > 0
                    text: GameViews.patternBestText(root.engine.best)
                    font.pixelSize: IslandStyle.fontFootnote
                    color: root.gold
                }
            }

            // Two by two, placed by binding to the area's size. Not a
            // GridLayout: the page loads asynchronously, and pads that join
            // the layout after it first ran most likely account for the
            // unplaced 0×0 pads seen under "Your turn" on a busy machine.
            Item {
                id: pads
                objectName: "patternPads"
                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.minimumHeight: 2 * GameViews.padMinHeight + gap
                readonly property real gap: IslandStyle.spacingMedium
                readonly property real padWidth: (width - gap) / 2
                readonly property real padHeight: Math.max(GameViews.padMinHeight, (height - gap) / 2)
                Repeater {
                    model: 4
                    Rectangle {
                        id: pad
                        required property int index
                        readonly property bool lit: GameViews.patternLit(root.engine.lit, index)
                        readonly property color hue: GameViews.patternHueColor(index)
                        objectName: "pad" + index
                        x: (index % 2) * (pads.padWidth + pads.gap)
                        y: Math.floor(index / 2) * (pads.padHeight + pads.gap)
                        width: pads.padWidth
                        height: pads.padHeight
                        radius: GameViews.padRadius
                        color: lit ? hue : IslandPalette.faded(hue, GameViews.padDimOpacity)
                        border.width: 1
                        border.color: lit ? IslandPalette.white35 : IslandPalette.fill
                        MouseArea {
                            anchors.fill: parent
                            enabled: root.padsLive
                            onClicked: root.engine.tap(pad.index)
                        }
                    }
                }
            }
        }
    }

    ArcadeHowTo {
        objectName: "patternHowTo"
        anchors.fill: parent
        visible: root.engine.phase === PatternEngine.Phase.howto
        title: "Pavlet Color Patterns"
        detail: "Watch the colors light up, then tap them back in the same order. Each round adds one. Best is the longest streak."
        actionTitle: "Play"
        hasAction: true
        visual: Component { PatternHowToVisual {} }
        onActionTriggered: root.engine.newGame()
    }

    GameResultCard {
        objectName: "patternOver"
        anchors.fill: parent
        visible: root.engine.phase === PatternEngine.Phase.over
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Missed"
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontTitle3
            font.weight: Font.DemiBold
            color: IslandPalette.textPrimary
        }
        TabularText {
            anchors.horizontalCenter: parent.horizontalCenter
            text: GameViews.patternOverText(root.engine.round, root.engine.best)
            font.pixelSize: IslandStyle.fontFootnote
            color: IslandPalette.textSecondary
        }
        ArcadeChip {
            anchors.horizontalCenter: parent.horizontalCenter
            title: "Play again"
            selected: true
            onClicked: root.engine.newGame()
        }
    }
}
