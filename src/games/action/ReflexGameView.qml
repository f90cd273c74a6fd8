import QtQuick
import Pavlet
import Pavlet.Style

// The reaction test: one large card whose headline, hint and colours follow
// the engine's phase, glowing gold at GO. A tap anywhere taps.
Item {
    id: root
    required property ReflexEngine engine
    property bool shown: true
    onShownChanged: if (!shown) engine.stop()

    implicitHeight: ActionViews.fieldMinHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
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

    // The lines of a phase: headline, hint, then the rating and best line.
    component Lines: Column {
        id: lines
        required property int phase
        property string suffix
        readonly property bool go: phase === ReflexEngine.Phase.go
        spacing: IslandStyle.spacing

        Text {
            objectName: "reflexHeadline" + lines.suffix
            textFormat: Text.PlainText
            anchors.horizontalCenter: parent.horizontalCenter
            text: ActionViews.reflexHeadline(lines.phase, root.engine.lastMS)
            font.family: IslandStyle.roundedFamily
            font.pixelSize: ActionViews.reflexHeadlineSize(lines.phase)
            font.weight: Font.DemiBold
            color: ActionViews.reflexHeadlineGold(lines.phase) ? root.gold : ActionViews.reflexHeadlineWhite(lines.phase)
            scale: lines.go ? ActionViews.reflexHeadlineScale(root.engine.pulse) : 1
        }
        Text {
            objectName: "reflexHint" + lines.suffix
            textFormat: Text.PlainText
            anchors.horizontalCenter: parent.horizontalCenter
            text: ActionViews.reflexHint(lines.phase)
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontBody
            color: IslandPalette.textSecondary
        }
        Text {
            objectName: "reflexRating" + lines.suffix
            textFormat: Text.PlainText
            anchors.horizontalCenter: parent.horizontalCenter
            visible: ActionViews.reflexShowsRating(lines.phase, root.engine.lastMS)
            text: root.engine.ratingLabel
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontBody
            font.weight: Font.Medium
            color: root.gold
        }
        Text {
            objectName: "reflexBest" + lines.suffix
            textFormat: Text.PlainText
            anchors.horizontalCenter: parent.horizontalCenter
            visible: ActionViews.reflexShowsBest(lines.phase, root.engine.bestMS)
            topPadding: ActionViews.reflexShowsRating(lines.phase, root.engine.lastMS) ? IslandStyle.spacingHair : 0
            text: ActionViews.reflexBestLine(root.engine.bestMS)
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontFootnote
            color: IslandPalette.textTertiary
        }
    }

    // A phase change cross-fades the lines of the phase left with those of
    // the phase entered.
    property int shownPhase: 0
    property int leftPhase: 0
    property real crossFade: 1
    Component.onCompleted: {
        shownPhase = engine.phase
        leftPhase = engine.phase
    }
    Connections {
        target: root.engine
        function onPhaseChanged() {
            root.leftPhase = root.shownPhase
            root.shownPhase = root.engine.phase
            fade.restart()
        }
    }
    NumberAnimation {
        id: fade
        target: root
        property: "crossFade"
        from: 0
        to: 1
        duration: ActionViews.reflexFadeMs
        easing.type: Easing.OutQuad
    }
    Lines {
        objectName: "reflexLinesLeft"
        anchors.centerIn: parent
        phase: root.leftPhase
        suffix: "Left"
        visible: root.crossFade < 1
        opacity: 1 - root.crossFade
    }
    Lines {
        objectName: "reflexLines"
        anchors.centerIn: parent
        phase: root.shownPhase
        opacity: root.crossFade
    }

    MouseArea {
        anchors.fill: parent
        onClicked: root.engine.tap()
    }
}
