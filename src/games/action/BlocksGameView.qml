import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// Blocks: the well with the landing shadow, the falling piece and the
// settled cells, a side column with the next piece and the score, the how-to
// card before a game and the game-over card after one. Keys reach the engine
// through the island's model; a tap turns the piece or starts again.
Item {
    id: root
    required property BlocksEngine engine
    property bool shown: true
    onShownChanged: shown ? engine.resume() : engine.stop()
    Component.onCompleted: if (shown) engine.resume()

    implicitHeight: ActionViews.fieldMinHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    // Read once per change; every cell looks its kind up here.
    readonly property var activeCells: engine.activeCells
    readonly property var shadowCells: engine.shadowCells

    // One cell of the well: a rounded square inset so that cells touch at c.
    component WellCell: Rectangle {
        property string cellLayer
        property point at
        property int kind: -1
        readonly property real c: well.cell
        x: c * at.x + ActionViews.blocksCellInset
        y: c * at.y + ActionViews.blocksCellInset
        width: Math.max(c - 2 * ActionViews.blocksCellInset, 0)
        height: width
        radius: ActionViews.blocksCellRadius(c)
        color: ActionViews.blockColor(kind)
    }

    Item {
        id: wellSpace
        width: Math.max(root.width - ActionViews.blocksColumnWidth - IslandStyle.spacingMedium, 0)
        height: root.height

        Item {
            id: well
            objectName: "blocksWell"
            readonly property real cell: ActionViews.blocksCell(wellSpace.width, wellSpace.height)
            x: ActionViews.blocksWellX(wellSpace.width, wellSpace.height)
            width: 10 * cell
            height: 16 * cell

            Rectangle {
                anchors.fill: parent
                radius: ActionViews.blocksWellRadius
                color: IslandPalette.black35
            }
            Repeater {
                model: 4
                WellCell {
                    required property int index
                    visible: index < root.shadowCells.length
                    at: visible ? root.shadowCells[index] : Qt.point(0, 0)
                    cellLayer: "shadow"
                    kind: root.engine.activeKind
                    opacity: ActionViews.blocksShadowOpacity
                }
            }
            Repeater {
                objectName: "settledCells"
                model: 160
                WellCell {
                    required property int index
                    cellLayer: "settled"
                    kind: root.engine.board[index]
                    visible: kind >= 0
                    at: Qt.point(index % 10, Math.floor(index / 10))
                }
            }
            // The falling piece lies above the settled cells, so the piece
            // that found no room at the end shows over what blocked it.
            Repeater {
                objectName: "activeCells"
                model: 4
                WellCell {
                    required property int index
                    visible: index < root.activeCells.length
                    cellLayer: "active"
                    at: visible ? root.activeCells[index] : Qt.point(0, 0)
                    kind: root.engine.activeKind
                }
            }
            ActionCard {
                objectName: "blocksOver"
                anchors.centerIn: parent
                visible: root.engine.phase === BlocksEngine.Phase.over
                padX: IslandStyle.spacingLarge
                title: "Stacked out"
                line: ActionViews.scoreBestLine(root.engine.score, root.engine.best)
            }
        }
    }

    ColumnLayout {
        id: side
        x: wellSpace.width + IslandStyle.spacingMedium
        y: ActionViews.blocksColumnTop
        width: ActionViews.blocksColumnWidth
        height: root.height - ActionViews.blocksColumnTop
        spacing: IslandStyle.spacingMedium

        Text {
            textFormat: Text.PlainText
            text: "NEXT"
            font.family: IslandStyle.roundedFamily
            font.pixelSize: ActionViews.blocksLabelSize
            font.letterSpacing: ActionViews.blocksLabelSpacing
            color: IslandPalette.textTertiary
        }
        Item {
            objectName: "blocksPreview"
            Layout.preferredWidth: ActionViews.blocksPreviewBox
            Layout.preferredHeight: ActionViews.blocksPreviewBox
            Repeater {
                model: ActionViews.blocksPreview(root.engine.nextKind)
                Rectangle {
                    required property var modelData
                    x: modelData.x
                    y: modelData.y
                    width: ActionViews.blocksPreviewSquare
                    height: width
                    radius: ActionViews.blocksPreviewRadius
                    color: ActionViews.blockColor(root.engine.nextKind)
                }
            }
        }
        Item {
            Layout.fillHeight: true
            Layout.minimumHeight: IslandStyle.spacing
        }
        Text {
            textFormat: Text.PlainText
            text: "SCORE"
            font.family: IslandStyle.roundedFamily
            font.pixelSize: ActionViews.blocksLabelSize
            font.letterSpacing: ActionViews.blocksLabelSpacing
            color: IslandPalette.textTertiary
        }
        TabularText {
            objectName: "blocksScore"
            text: root.engine.score
            font.pixelSize: IslandStyle.fontTitle3
            font.weight: Font.DemiBold
            color: root.gold
        }
        Text {
            objectName: "blocksLines"
            textFormat: Text.PlainText
            text: ActionViews.blocksLinesText(root.engine.lines)
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontCaption
            color: IslandPalette.textSecondary
        }
        Text {
            objectName: "blocksBest"
            textFormat: Text.PlainText
            visible: text.length > 0
            text: ActionViews.blocksBestText(root.engine.best)
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontCaption
            color: IslandPalette.textTertiary
        }
    }

    MouseArea {
        objectName: "blocksTap"
        anchors.fill: parent
        visible: ActionViews.blocksTapLayer(root.engine.phase)
        onClicked: root.engine.tap()
    }

    ArcadeHowTo {
        objectName: "blocksHowTo"
        anchors.fill: parent
        visible: root.engine.phase === BlocksEngine.Phase.howto
        title: "Pavlet Blocks"
        detail: "Slide the piece, spin it, drop it. Fill a whole row and it vanishes."
        actionTitle: "Play"
        hasAction: true
        visual: Component { BlocksHowToVisual {} }
        onActionTriggered: root.engine.begin()
    }
}
