import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// Pong against the computer: the arena drawn from the engine's fractions of
// the field, the how-to card with the difficulty chips, the result card, and
// a probe under it all that steers the gold paddle from the pointer.
Item {
    id: root
    required property PongEngine engine
    property bool shown: true
    onShownChanged: shown ? engine.resume() : engine.stop()
    Component.onCompleted: {
        engine.setField(width, height)
        if (shown)
            engine.resume()
    }
    onWidthChanged: engine.setField(width, height)
    onHeightChanged: engine.setField(width, height)

    implicitHeight: ActionViews.fieldMinHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    readonly property int phase: engine.phase
    readonly property real pw: ActionViews.pongPaddleWidth(width)
    readonly property real ph: ActionViews.pongPaddleHeight(height)
    readonly property real bd: ActionViews.pongBallSize(height)

    PongPointerProbe {
        objectName: "pongProbe"
        anchors.fill: parent
        onMoved: (y, height) => root.engine.movePlayer(y, height)
    }

    Rectangle {
        id: arena
        objectName: "pongArena"
        anchors.fill: parent
        color: IslandPalette.fill
        clip: true

        Rectangle {
            anchors.fill: parent
            gradient: Gradient {
                orientation: Gradient.Horizontal
                GradientStop { position: 0; color: Qt.rgba(root.gold.r, root.gold.g, root.gold.b, ActionViews.pongTintOpacity) }
                GradientStop { position: 1; color: "transparent" }
            }
        }
        Repeater {
            model: 9
            Rectangle {
                required property int index
                readonly property point at: ActionViews.pongDash(index, arena.width, arena.height)
                x: at.x
                y: at.y
                width: ActionViews.pongDashWidth
                height: ActionViews.pongDashHeight
                radius: width / 2
                color: IslandPalette.fill
            }
        }
        Rectangle {
            objectName: "pongPlayer"
            x: ActionViews.pongPaddleLeft(true, arena.width, root.pw)
            y: arena.height * root.engine.playerY - root.ph / 2
            width: root.pw
            height: root.ph
            radius: width / 2
            color: root.gold
        }
        Rectangle {
            objectName: "pongNpc"
            x: ActionViews.pongPaddleLeft(false, arena.width, root.pw)
            y: arena.height * root.engine.npcY - root.ph / 2
            width: root.pw
            height: root.ph
            radius: width / 2
            color: IslandPalette.white82
        }
        Rectangle {
            objectName: "pongBall"
            x: arena.width * root.engine.ballX - root.bd / 2
            y: arena.height * root.engine.ballY - root.bd / 2
            width: root.bd
            height: root.bd
            radius: width / 2
            color: root.gold
        }
        Row {
            objectName: "pongScore"
            anchors.horizontalCenter: parent.horizontalCenter
            y: IslandStyle.spacingSmall
            spacing: IslandStyle.spacing
            TabularText {
                text: root.engine.playerScore
                font.pixelSize: IslandStyle.fontTitle3
                font.weight: Font.DemiBold
                color: root.gold
            }
            TabularText {
                text: "\u00b7"
                font.pixelSize: IslandStyle.fontTitle3
                font.weight: Font.DemiBold
                color: IslandPalette.textTertiary
            }
            TabularText {
                text: root.engine.npcScore
                font.pixelSize: IslandStyle.fontTitle3
                font.weight: Font.DemiBold
                color: IslandPalette.white70
            }
        }
        RoundedCorners { anchors.fill: parent }
    }

    // The how-to card answers the pointer over the whole field.
    Item {
        objectName: "pongHowTo"
        anchors.fill: parent
        visible: root.phase === PongEngine.Phase.howto
        MouseArea { anchors.fill: parent; hoverEnabled: true }
        Rectangle {
            anchors.centerIn: parent
            width: Math.min(ActionViews.howToMaxWidth, parent.width)
            height: howTo.implicitHeight + 2 * IslandStyle.spacingLarge
            radius: IslandStyle.radiusLarge
            color: IslandPalette.black62
            Column {
                id: howTo
                anchors.centerIn: parent
                width: parent.width - 2 * IslandStyle.spacingXLarge
                spacing: IslandStyle.spacingMedium
                PongHowToVisual { width: parent.width }
                Text {
                    textFormat: Text.PlainText
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: "Pavlet Pong"
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontHeadline
                    font.weight: Font.DemiBold
                    color: IslandPalette.textPrimary
                }
                Text {
                    textFormat: Text.PlainText
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    text: "Move the pointer to steer your paddle. Gold is you. First to 5. Pick a fight."
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    color: IslandPalette.textSecondary
                }
                Row {
                    anchors.horizontalCenter: parent.horizontalCenter
                    spacing: IslandStyle.spacing
                    Repeater {
                        model: ActionViews.pongDifficultyTitles
                        ArcadeChip {
                            required property int index
                            required property string modelData
                            objectName: "pongLevel" + index
                            title: modelData
                            selected: false
                            onClicked: root.engine.start(index)
                        }
                    }
                }
            }
        }
    }

    Item {
        objectName: "pongOver"
        anchors.fill: parent
        visible: root.phase === PongEngine.Phase.over
        Rectangle {
            anchors.centerIn: parent
            width: result.implicitWidth + 2 * IslandStyle.spacingXLarge
            height: result.implicitHeight + 2 * IslandStyle.spacingXLarge
            radius: IslandStyle.radiusLarge
            color: IslandPalette.black62
            Column {
                id: result
                anchors.centerIn: parent
                spacing: IslandStyle.spacingMedium
                Text {
                    objectName: "pongResultTitle"
                    textFormat: Text.PlainText
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: ActionViews.pongResultTitle(root.engine.playerScore, root.engine.npcScore)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontTitle3
                    font.weight: Font.DemiBold
                    color: IslandPalette.textPrimary
                }
                Text {
                    objectName: "pongResultLine"
                    textFormat: Text.PlainText
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: ActionViews.pongResultLine(root.engine.playerScore, root.engine.npcScore,
                                                     root.engine.difficulty, root.engine.wins)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    color: IslandPalette.textSecondary
                }
                Row {
                    anchors.horizontalCenter: parent.horizontalCenter
                    spacing: IslandStyle.spacing
                    ArcadeChip {
                        objectName: "pongPlayAgain"
                        title: "Play again"
                        selected: true
                        onClicked: root.engine.playAgain()
                    }
                    ArcadeChip {
                        objectName: "pongDifficulty"
                        title: "Difficulty"
                        onClicked: root.engine.backToHowTo()
                    }
                }
            }
        }
    }
}
