import QtQuick
import QtQuick.Layouts
import QtQuick.Controls
import Pavlet
import Pavlet.Style

// The speed test: a countdown and a bar while it runs, else ping, down and up.
ModuleCard {
    id: root
    required property SpeedTestEngine engine
    readonly property color sky: IslandPalette.accent(IslandPalette.sky)
    readonly property bool running: engine.phase === Tools.SpeedTestPhase.running
    title: qsTr("Speed test")
    accent: sky

    component Readout: Column {
        property string label
        property string value
        property string unit
        Layout.fillWidth: true
        Layout.preferredWidth: 1
        spacing: 1
        CardText { text: parent.label; font.pixelSize: IslandStyle.fontMicro; font.weight: Font.Normal; color: IslandPalette.textTertiary }
        Row {
            spacing: IslandStyle.spacingHair
            CardText { id: number; digits: true; text: parent.parent.value; font.pixelSize: IslandStyle.fontCallout }
            CardText {
                visible: text.length > 0
                anchors.baseline: number.baseline
                text: parent.parent.unit
                font.pixelSize: IslandStyle.fontMicro
                font.weight: Font.Normal
                color: IslandPalette.textSecondary
            }
        }
    }

    Column {
        width: parent.width
        spacing: IslandStyle.spacing
        Column {
            visible: root.running
            width: parent.width
            spacing: IslandStyle.spacingTiny
            Row {
                spacing: IslandStyle.spacingSmall
                CardText { id: seconds; digits: true; text: root.engine.remaining + "s"; font.pixelSize: IslandStyle.fontLarge; font.weight: Font.DemiBold }
                CardText {
                    anchors.baseline: seconds.baseline
                    text: qsTr("Measuring ping, down, and up")
                    font.pixelSize: IslandStyle.fontCaption
                    font.weight: Font.Normal
                    color: root.sky
                }
            }
            Rectangle {
                width: parent.width
                height: HomeText.speedBarHeight
                radius: height / 2
                color: IslandPalette.fill
                Rectangle { height: parent.height; radius: height / 2; width: parent.width * root.engine.progress; color: root.sky }
            }
        }
        RowLayout {
            visible: !root.running
            width: parent.width
            spacing: IslandStyle.spacing
            Readout {
                label: qsTr("Ping")
                value: HomeText.pingText(root.engine.pingMS)
                unit: root.engine.pingMS === undefined || root.engine.pingMS === null ? "" : "ms"
            }
            Readout { label: qsTr("Down"); value: HomeText.rateText(root.engine.downloadMbps); unit: "Mbps" }
            Readout { label: qsTr("Up"); value: HomeText.rateText(root.engine.uploadMbps); unit: "Mbps" }
        }
        RowLayout {
            width: parent.width
            CardText {
                Layout.fillWidth: true
                text: HomeText.speedStatus(root.engine.phase, root.engine.failureMessage)
                font.pixelSize: IslandStyle.fontCaption
                font.weight: Font.Normal
                color: IslandPalette.textTertiary
            }
            IslandPressStyle {
                implicitWidth: run.implicitWidth
                implicitHeight: run.implicitHeight
                pressed: runArea.pressed
                keys: true
                onActivated: root.engine.start()
                label: run.text
                CardText { id: run; text: HomeText.speedButton(root.engine.phase); font.pixelSize: IslandStyle.fontFootnote; color: root.sky }
                MouseArea { id: runArea; anchors.fill: parent; onClicked: root.engine.start() }
            }
        }
    }
}
