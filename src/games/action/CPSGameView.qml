import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The clicking-speed test: length chips and the personal best over a large
// click target that counts down and shows the rate, with the how-to card
// before the first test.
Item {
    id: root
    required property CPSEngine engine
    property bool shown: true
    onShownChanged: shown ? engine.resume() : engine.stop()
    Component.onCompleted: if (shown) engine.resume()

    implicitHeight: ActionViews.fieldMinHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    readonly property int phase: engine.phase
    readonly property int seconds: engine.duration

    ColumnLayout {
        anchors.fill: parent
        spacing: IslandStyle.spacingMedium

        RowLayout {
            Layout.fillWidth: true
            spacing: IslandStyle.spacingSmall
            // A Row places the chips as they come; the page loads
            // asynchronously, and chips added to the layout after it ran
            // could be left on top of each other.
            Row {
                spacing: IslandStyle.spacingSmall
                Repeater {
                    model: ActionViews.cpsDurations
                    ArcadeChip {
                        required property int modelData
                        objectName: "cpsChip" + modelData
                        title: ActionViews.cpsTitle(modelData)
                        selected: root.seconds === modelData
                        enabled: ActionViews.cpsChipsEnabled(root.phase)
                        onClicked: root.engine.select(modelData)
                    }
                }
            }
            Item { Layout.fillWidth: true }
            TabularText {
                objectName: "cpsBest"
                visible: text.length > 0
                text: ActionViews.cpsBestText(root.engine.best, root.seconds)
                font.pixelSize: IslandStyle.fontFootnote
                color: root.gold
            }
        }

        Rectangle {
            objectName: "cpsTarget"
            Layout.fillWidth: true
            Layout.fillHeight: true
            radius: ActionViews.cpsTargetRadius
            color: IslandPalette.fill

            Column {
                anchors.centerIn: parent
                spacing: IslandStyle.spacingSmall
                TabularText {
                    objectName: "cpsLarge"
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: ActionViews.cpsLargeText(root.phase, root.engine.cps, root.engine.lastCPS)
                    font.pixelSize: ActionViews.cpsLargeSize(root.phase)
                    font.weight: Font.DemiBold
                    color: root.gold
                }
                Text {
                    objectName: "cpsDetail"
                    textFormat: Text.PlainText
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: ActionViews.cpsDetailLine(root.phase, root.seconds, root.engine.remaining, root.engine.clicks)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontBody
                    color: IslandPalette.textSecondary
                }
                Text {
                    objectName: "cpsResult"
                    textFormat: Text.PlainText
                    anchors.horizontalCenter: parent.horizontalCenter
                    visible: text.length > 0
                    text: ActionViews.cpsResultLine(root.phase, root.engine.isNewBest)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontBody
                    font.weight: Font.Medium
                    color: root.engine.isNewBest ? root.gold : IslandPalette.textTertiary
                }
            }
            MouseArea {
                anchors.fill: parent
                onClicked: root.engine.click()
            }
        }
    }

    ArcadeHowTo {
        objectName: "cpsHowTo"
        anchors.fill: parent
        visible: root.phase === CPSEngine.Phase.howto
        title: "Pavlet CPS"
        detail: "Pick a length, then click as fast as you can. Clicks per second is the score. Best is saved per length."
        actionTitle: "Play"
        hasAction: true
        visual: Component { CPSHowToVisual {} }
        onActionTriggered: root.engine.prepare()
    }
}
