import QtQuick
import Pavlet
import Pavlet.Style

// Flap: pipes scrolling in from the right, the mascot as the bird, the score,
// and a card before a run and after a crash. The field tells the engine its
// height; a tap flaps.
Item {
    id: root
    required property FlapEngine engine
    property bool shown: true
    onShownChanged: shown ? engine.resume() : engine.stop()
    // The page may be built while its game is being opened: the first height
    // goes to the engine once the opening has readied it.
    Component.onCompleted: {
        Qt.callLater(root.reportHeight)
        if (shown)
            engine.resume()
    }
    onHeightChanged: reportHeight()
    function reportHeight() { engine.setFieldHeight(height) }

    implicitHeight: ActionViews.fieldMinHeight
    readonly property color sky: IslandPalette.accent(IslandPalette.sky)
    readonly property color pipeYellow: IslandPalette.accent(IslandPalette.yellow)
    readonly property int phase: engine.phase

    Rectangle {
        id: field
        objectName: "flapField"
        anchors.fill: parent
        color: IslandPalette.fill
        clip: true

        Rectangle {
            anchors.fill: parent
            gradient: Gradient {
                GradientStop { position: 0; color: Qt.rgba(root.sky.r, root.sky.g, root.sky.b, ActionViews.flapSkyOpacity) }
                GradientStop { position: 1; color: "transparent" }
            }
        }
        Repeater {
            model: root.engine.pipes
            Item {
                required property var model
                x: model.x
                width: root.engine.pipeWidth
                height: field.height
                Rectangle {
                    anchors.bottom: parent.bottom
                    width: parent.width
                    height: ActionViews.flapLowerHeight(parent.model.gapY)
                    radius: ActionViews.flapPipeRadius
                    color: Qt.rgba(root.pipeYellow.r, root.pipeYellow.g, root.pipeYellow.b, ActionViews.flapLowerOpacity)
                }
                ShapeLayer {
                    width: parent.width
                    height: ActionViews.flapUpperHeight(field.height, parent.model.gapY)
                    reachTop: upperPipe.hang + reach
                    HangShape {
                        id: upperPipe
                        anchors.fill: parent
                        cornerRadius: ActionViews.flapPipeRadius
                        fillColor: Qt.rgba(root.sky.r, root.sky.g, root.sky.b, ActionViews.flapUpperOpacity)
                    }
                }
            }
        }
        PavletMascot {
            objectName: "flapBird"
            x: ActionViews.flapBirdX
            y: field.height - root.engine.birdY - size
            size: root.engine.birdSize
            blink: ActionViews.flapEyesClosed(root.engine.blink, root.phase)
            tilt: ActionViews.flapBirdTilt(root.engine.birdVy)
            color: root.sky
        }
        TabularText {
            objectName: "flapScore"
            anchors.right: parent.right
            anchors.rightMargin: ActionViews.scoreInsetX
            y: ActionViews.scoreInsetY
            text: root.engine.score
            font.pixelSize: IslandStyle.fontTitle3
            font.weight: Font.DemiBold
            color: root.sky
        }
        RoundedCorners { anchors.fill: parent }
    }

    ActionCard {
        objectName: "flapCard"
        anchors.centerIn: parent
        visible: root.phase !== FlapEngine.Phase.running
        title: ActionViews.flapTitle(root.phase)
        line: ActionViews.flapLine(root.phase, root.engine.score, root.engine.best)
    }

    MouseArea {
        anchors.fill: parent
        onClicked: root.engine.flap()
    }
}
