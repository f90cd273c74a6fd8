import QtQuick
import Pavlet
import Pavlet.Style

// The current weather: symbol, temperature, summary, and on the right the
// day's high and low and the sun times as the options ask.
ModuleCard {
    id: root
    required property weatherInfo weather
    required property AppSettings settings
    readonly property color sky: IslandPalette.accent(IslandPalette.sky)
    title: weather.place
    accent: sky

    Item {
        width: parent.width
        implicitHeight: Math.max(row.implicitHeight, side.implicitHeight)
        Row {
            id: row
            spacing: IslandStyle.spacing
            Symbol {
                anchors.verticalCenter: temp.verticalCenter
                name: root.weather.symbol
                color: root.sky
                size: IslandStyle.fontTitle2
            }
            CardText {
                id: temp
                digits: true
                text: HomeText.degrees(root.weather.temperature)
                font.pixelSize: IslandStyle.fontLarge
                font.weight: Font.DemiBold
            }
            CardText {
                anchors.baseline: temp.baseline
                text: root.weather.summary
                font.pixelSize: IslandStyle.fontFootnote
                font.weight: Font.Normal
                color: IslandPalette.textSecondary
            }
        }
        Column {
            id: side
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            spacing: IslandStyle.spacingHair
            visible: root.settings.weatherShowHighLow || root.settings.weatherShowSun
            CardText {
                anchors.right: parent.right
                visible: root.settings.weatherShowHighLow
                digits: true
                text: HomeText.highLowText(root.weather.high, root.weather.low)
                font.pixelSize: IslandStyle.fontCaption
                font.weight: Font.Normal
                color: IslandPalette.textTertiary
            }
            CardText {
                anchors.right: parent.right
                visible: root.settings.weatherShowSun
                digits: true
                text: HomeText.sunText(root.weather.sunrise, root.weather.sunset)
                font.pixelSize: IslandStyle.fontCaption
                font.weight: Font.Normal
                color: IslandPalette.textTertiary
            }
        }
    }
}
