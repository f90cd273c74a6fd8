import QtQuick
import Pavlet
import Pavlet.Style

// The world clocks' module on Home.
ModuleCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    title: qsTr("World clocks")
    accent: IslandPalette.accent(IslandPalette.sky)
    WorldClockRow { width: parent.width; settings: root.settings }
}
