import QtQuick
import Pavlet
import Pavlet.Style

// The runner: a scrolling ground, obstacles from the engine, the mascot
// running and jumping, the score, and a card before a run and after a crash.
// A tap anywhere does what Space does.
Item {
    id: root
    required property DinoEngine engine
    property bool shown: true
    onShownChanged: shown ? engine.resume() : engine.stop()
    Component.onCompleted: if (shown) engine.resume()

    implicitHeight: ActionViews.fieldMinHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    readonly property color coral: IslandPalette.accent(IslandPalette.coral)
    readonly property int phase: engine.phase
    // Engine y (up from the ground) to the field's top-down y of an item's top.
    readonly property real groundTop: height - ActionViews.dinoGround

    Rectangle {
        id: field
        objectName: "dinoField"
        anchors.fill: parent
        radius: IslandStyle.radiusLarge
        color: IslandPalette.fill
        clip: true

        Rectangle {
            anchors.fill: parent
            radius: parent.radius
            gradient: Gradient {
                GradientStop { position: 0; color: IslandPalette.white04 }
                GradientStop { position: 1; color: "transparent" }
            }
        }
        Repeater {
            model: ActionViews.dinoDashCount
            Rectangle {
                required property int index
                x: ActionViews.dinoDashX(index, root.engine.groundOffset)
                y: ActionViews.dinoDashDrop - ActionViews.dinoDashHeight
                width: ActionViews.dinoDashWidth
                height: ActionViews.dinoDashHeight
                radius: height / 2
                color: IslandPalette.white06
            }
        }
        Rectangle {
            objectName: "dinoGroundLine"
            width: field.width
            height: ActionViews.dinoLineHeight
            y: root.groundTop - height
            color: Qt.rgba(root.gold.r, root.gold.g, root.gold.b, ActionViews.dinoLineOpacity)
        }
        Repeater {
            model: ActionViews.dinoTickCount
            Rectangle {
                required property int index
                x: ActionViews.dinoTickX(index, root.engine.groundOffset)
                y: field.height - ActionViews.dinoTickRise - height
                width: ActionViews.dinoTickWidth
                height: ActionViews.dinoTickHeight
                color: IslandPalette.fill
            }
        }
        Repeater {
            model: root.engine.obstacles
            Item {
                required property var model
                x: model.x
                y: root.groundTop - model.y - model.height
                width: model.width
                height: model.height
                PavletMascot {
                    visible: parent.model.flying
                    anchors.bottom: parent.bottom
                    anchors.horizontalCenter: parent.horizontalCenter
                    size: ActionViews.dinoFlyerSize
                    tilt: ActionViews.dinoFlyerTilt
                    color: root.coral
                }
                ShapeLayer {
                    visible: !parent.model.flying
                    anchors.fill: parent
                    reachTop: block.hang + reach
                    HangShape {
                        id: block
                        anchors.fill: parent
                        cornerRadius: ActionViews.dinoBlockRadius
                        fillColor: Qt.rgba(root.gold.r, root.gold.g, root.gold.b, ActionViews.dinoBlockOpacity)
                    }
                }
                Rectangle {
                    visible: !parent.model.flying
                    anchors.horizontalCenter: parent.horizontalCenter
                    y: ActionViews.dinoStripeDrop
                    width: parent.width * ActionViews.dinoStripeShare
                    height: ActionViews.dinoStripeHeight
                    radius: height / 2
                    color: IslandPalette.black35
                }
            }
        }
        PavletMascot {
            objectName: "dinoRunner"
            x: ActionViews.dinoRunnerX
            y: root.groundTop - root.engine.playerY - size
            size: ActionViews.dinoRunnerSize
            blink: ActionViews.dinoEyesClosed(root.engine.blink, root.phase)
            tilt: ActionViews.dinoRunnerTilt(root.engine.playerY)
            legs: ActionViews.dinoRunnerLegs(root.phase, root.engine.stride)
            color: root.gold
        }
        TabularText {
            objectName: "dinoScore"
            anchors.right: parent.right
            anchors.rightMargin: ActionViews.scoreInsetX
            y: ActionViews.scoreInsetY
            text: root.engine.score
            font.pixelSize: IslandStyle.fontTitle3
            font.weight: Font.DemiBold
            color: root.gold
        }
    }

    ActionCard {
        objectName: "dinoCard"
        anchors.centerIn: parent
        visible: root.phase !== DinoEngine.Phase.running
        title: ActionViews.dinoTitle(root.phase)
        line: ActionViews.dinoLine(root.phase, root.engine.score, root.engine.best)
    }

    MouseArea {
        anchors.fill: parent
        onClicked: root.engine.press()
    }
}
