import QtQuick
import Pavlet
import Pavlet.Style

// The network's module on Home: the reading once there is one.
Loader {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    sourceComponent: root.model.network ? networkReading : networkWaiting
    Component { id: networkReading; NetworkCard { snapshot: root.model.network; settings: root.settings } }
    Component {
        id: networkWaiting
        PlaceholderCard {
            title: qsTr("Wi-Fi")
            accent: IslandPalette.accent(IslandPalette.mint)
            message: qsTr("Reading…")
        }
    }
}
