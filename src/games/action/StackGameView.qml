import QtQuick
import Pavlet
import Pavlet.Style

// Stack: the tower in a well that follows the engine's camera, the sliding
// slab, the score, the shout after each drop, the how-to card before a run
// and the result card after one. A click anywhere but the how-to card taps.
Item {
    id: root
    required property StackEngine engine
    property bool shown: true
    onShownChanged: shown ? engine.resume() : engine.stop()
    Component.onCompleted: if (shown) engine.resume()

    implicitHeight: ActionViews.fieldMinHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    readonly property int phase: engine.phase

    // A slab's top edge for a tower row, top-down in the well.
    function rowTop(row) {
        return well.height - ActionViews.stackRowBottom(row, root.engine.camera) - ActionViews.stackSlabHeight
    }

    Rectangle {
        id: well
        objectName: "stackWell"
        anchors.fill: parent
        color: IslandPalette.fill
        clip: true

        Rectangle {
            anchors.fill: parent
            gradient: Gradient {
                GradientStop { position: 0; color: "transparent" }
                GradientStop { position: 1; color: IslandPalette.white05 }
            }
        }
        Repeater {
            id: slabs
            model: root.engine.slabs
            Rectangle {
                required property int index
                required property var model
                readonly property bool gold: ActionViews.stackSlabGold(index, slabs.count, root.engine.perfect)
                x: ActionViews.stackSlabLeft(model.x, well.width)
                y: root.rowTop(index)
                width: model.width * ActionViews.stackFieldWidth(well.width)
                height: ActionViews.stackSlabHeight
                radius: ActionViews.stackSlabRadius
                color: gold ? root.gold : ActionViews.stackSlabWhite(index, slabs.count)
            }
        }
        Item {
            objectName: "stackSlider"
            visible: root.phase === StackEngine.Phase.running
            x: ActionViews.stackSlabLeft(root.engine.movingX, well.width)
            y: root.rowTop(slabs.count)
            width: root.engine.movingWidth * ActionViews.stackFieldWidth(well.width)
            height: ActionViews.stackSlabHeight
            // A soft gold glow around the slab.
            IslandShadow {
                objectName: "stackSliderShadow"
                x: -blurRadius
                y: -blurRadius
                width: parent.width + 2 * blurRadius
                height: parent.height + 2 * blurRadius
                cornerRadius: ActionViews.stackSlabRadius
                blurRadius: ActionViews.stackGlowRadius
                color: Qt.rgba(root.gold.r, root.gold.g, root.gold.b, ActionViews.stackGlowOpacity)
            }
            Rectangle {
                anchors.fill: parent
                radius: ActionViews.stackSlabRadius
                color: root.gold
            }
        }
        TabularText {
            objectName: "stackScore"
            anchors.right: parent.right
            anchors.rightMargin: ActionViews.scoreInsetX
            y: ActionViews.scoreInsetY
            text: root.engine.score
            font.pixelSize: IslandStyle.fontTitle3
            font.weight: Font.DemiBold
            color: root.gold
        }
        RoundedCorners { anchors.fill: parent }
    }

    // Each new shout pops in from its centre; the one it replaces shrinks away.
    Item {
        id: shoutLayer
        anchors.fill: parent
        visible: root.phase === StackEngine.Phase.running
        property Item current: null
        function replace() {
            if (current)
                current.leave()
            current = root.engine.shout.length > 0
                    ? shoutComponent.createObject(shoutLayer, { text: root.engine.shout })
                    : null
        }
        Connections {
            target: root.engine
            function onShoutChanged() { shoutLayer.replace() }
        }
    }
    Component {
        id: shoutComponent
        Item {
            id: shout
            property alias text: label.text
            objectName: "stackShout"
            anchors.centerIn: parent
            anchors.verticalCenterOffset: -ActionViews.stackShoutRise
            width: label.implicitWidth
            height: label.implicitHeight
            scale: 0.00001
            opacity: 0
            property bool leaving: false
            function leave() {
                leaving = true
                objectName = ""
                scale = 0.00001
                opacity = 0
            }
            onOpacityChanged: if (leaving && opacity < 0.01) destroy()
            Behavior on scale {
                SpringAnimation {
                    spring: IslandStyle.spring(0.28, 0.72).spring
                    damping: IslandStyle.spring(0.28, 0.72).damping
                    epsilon: 0.001
                }
            }
            Behavior on opacity {
                SpringAnimation {
                    spring: IslandStyle.spring(0.28, 0.72).spring
                    damping: IslandStyle.spring(0.28, 0.72).damping
                    epsilon: 0.002
                }
            }
            Component.onCompleted: {
                scale = 1
                opacity = 1
            }
            TextShadow {
                objectName: "stackShoutShadow"
                x: -blurRadius
                y: -blurRadius + 1
                width: implicitWidth
                height: implicitHeight
                text: label.text
                font: label.font
                blurRadius: ActionViews.stackShoutShadowRadius
                color: IslandPalette.black55
            }
            Text {
                id: label
                textFormat: Text.PlainText
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontTitle
                font.weight: Font.DemiBold
                color: root.gold
            }
        }
    }

    MouseArea {
        objectName: "stackTap"
        anchors.fill: parent
        visible: root.phase !== StackEngine.Phase.howto
        onClicked: root.engine.tap()
    }

    ActionCard {
        objectName: "stackOver"
        anchors.centerIn: parent
        visible: root.phase === StackEngine.Phase.over
        title: "Toppled"
        line: ActionViews.scoreBestLine(root.engine.score, root.engine.best)
    }

    ArcadeHowTo {
        objectName: "stackHowTo"
        anchors.fill: parent
        visible: root.phase === StackEngine.Phase.howto
        title: "Pavlet Stack"
        detail: "Tap when the sliding slab lines up. Miss the edge and it gets cut. Miss entirely and it topples."
        actionTitle: "Play"
        hasAction: true
        visual: Component { StackHowToVisual {} }
        onActionTriggered: root.engine.start()
    }
}
