import QtQuick
import Pavlet
import Pavlet.Style

// The weather's module on Home: the reading once there is one.
Loader {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    sourceComponent: root.model.weather ? weatherReading : weatherWaiting
    Component {
        id: weatherReading
        WeatherCard { weather: root.model.weather; settings: root.settings }
    }
    Component {
        id: weatherWaiting
        PlaceholderCard {
            title: qsTr("Weather")
            accent: IslandPalette.accent(IslandPalette.sky)
            message: qsTr("Waiting for weather")
        }
    }
}
