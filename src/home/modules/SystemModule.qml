import QtQuick
import Pavlet
import Pavlet.Style

// The system's module on Home: the readings once there are some.
Loader {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    sourceComponent: root.model.system ? systemReading : systemWaiting
    Component { id: systemReading; SystemCard { model: root.model; settings: root.settings } }
    Component {
        id: systemWaiting
        PlaceholderCard {
            title: qsTr("System")
            accent: IslandPalette.accent(IslandPalette.yellow)
            message: qsTr("Reading…")
        }
    }
}
