import QtQuick
import Pavlet

// The reaction test: one large card whose headline, hint and colours follow
// the engine's phase, glowing gold at GO. A tap anywhere taps.
Item {
    id: root
    required property ReflexEngine engine
    property bool shown: true
    onShownChanged: if (!shown) engine.stop()

    implicitHeight: ActionViews.fieldMinHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow, IslandPalette.accentRevision)
    readonly property int phase: engine.phase
    readonly property bool go: phase === ReflexEngine.Phase.go
    readonly property real pulse: go ? engine.pulse : 0

    Rectangle {
        objectName: "reflexCard"
        anchors.fill: parent
        radius: IslandStyle.radiusLarge
        color: ActionViews.reflexCardFill(root.phase)
        border.width: IslandStyle.strokeHair
        border.color: ActionViews.reflexOutline(root.phase)
    }
    Rectangle {
        objectName: "reflexGlow"
        anchors.fill: parent
        visible: root.go
        radius: IslandStyle.radiusLarge
        color: Qt.rgba(root.gold.r, root.gold.g, root.gold.b, ActionViews.reflexGlowOpacity(root.pulse))
        scale: ActionViews.reflexGlowScale(root.pulse)
    }

    Column {
        id: column
        anchors.centerIn: parent
        spacing: IslandStyle.spacing

        // A phase change fades the column in.
        Connections {
            target: root.engine
            function onPhaseChanged() { fadeIn.restart() }
        }
        NumberAnimation {
            id: fadeIn
            target: column
            property: "opacity"
            from: 0.3
            to: 1
            duration: ActionViews.reflexFadeMs
            easing.type: Easing.OutQuad
        }

        Text {
            objectName: "reflexHeadline"
            anchors.horizontalCenter: parent.horizontalCenter
            text: ActionViews.reflexHeadline(root.phase, root.engine.lastMS)
            font.family: IslandStyle.roundedFamily
            font.pixelSize: ActionViews.reflexHeadlineSize(root.phase)
            font.weight: Font.DemiBold
            color: ActionViews.reflexHeadlineGold(root.phase) ? root.gold : ActionViews.reflexHeadlineWhite(root.phase)
            scale: root.go ? ActionViews.reflexHeadlineScale(root.pulse) : 1
        }
        Text {
            objectName: "reflexHint"
            anchors.horizontalCenter: parent.horizontalCenter
            text: ActionViews.reflexHint(root.phase)
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontBody
            color: IslandPalette.inkDim
        }
        Text {
            objectName: "reflexRating"
            anchors.horizontalCenter: parent.horizontalCenter
            visible: ActionViews.reflexShowsRating(root.phase, root.engine.lastMS)
            text: root.engine.ratingLabel
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontBody
            font.weight: Font.Medium
            color: root.gold
        }
        Text {
            objectName: "reflexBest"
            anchors.horizontalCenter: parent.horizontalCenter
            visible: ActionViews.reflexShowsBest(root.phase, root.engine.bestMS)
            topPadding: ActionViews.reflexShowsRating(root.phase, root.engine.lastMS) ? IslandStyle.spacingHair : 0
            text: ActionViews.reflexBestLine(root.engine.bestMS)
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontFootnote
            color: IslandPalette.inkFaint
        }
    }

    MouseArea {
        anchors.fill: parent
        onClicked: root.engine.tap()
    }
}
