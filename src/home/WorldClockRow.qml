import QtQuick
import Pavlet
import Pavlet.Style

// Up to three cities side by side with their local time, redrawn each second.
Row {
    id: root
    required property AppSettings settings
    readonly property bool meridiem: HomeText.showsMeridiem(settings.notchUse24Hour, settings.clocksShowMeridiem)

    AnimationTicker { id: ticker; running: root.visible; fps: 1 }

    Repeater {
        model: HomeText.shownClocks(root.settings.clocks)
        Row {
            id: cell
            required property clockCity modelData
            required property int index
            readonly property color tint: IslandPalette.accent(HomeText.cityColor(index))
            width: root.width / Math.min(root.settings.clocks.length, HomeText.maxClocks())
            Item {
                visible: cell.index > 0
                width: visible ? HomeText.clockGap : 0
                height: HomeText.clockHeight
                Rectangle { x: Math.floor(HomeText.clockGap / 2); width: IslandStyle.strokeHair; height: HomeText.clockHeight; color: IslandPalette.fill }
            }
            Column {
                // The city's own column: a long name is cut at its end.
                width: cell.width - (cell.index > 0 ? HomeText.clockGap : 0)
                spacing: IslandStyle.spacingHair
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    width: parent.width
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    text: cell.modelData.label
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCaption
                    color: cell.tint
                }
                Row {
                    spacing: HomeText.clockMeridiemGap
                    Text {
                        id: time
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: cell.modelData.timeText(ticker.now, root.settings.notchUse24Hour)
                        font.family: IslandStyle.digitsFamily
                        font.pixelSize: IslandStyle.fontTitle3
                        font.weight: Font.DemiBold
                        color: IslandPalette.textPrimary
                    }
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        visible: root.meridiem
                        anchors.baseline: time.baseline
                        text: cell.modelData.amPmText(ticker.now)
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontCaption
                        color: IslandPalette.faded(cell.tint, 0.8)
                    }
                }
            }
        }
    }
}
