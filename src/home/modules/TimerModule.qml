import QtQuick
import Pavlet
import Pavlet.Style

// The timer's module on Home.
ModuleCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    title: qsTr("Timer")
    accent: IslandPalette.accent(IslandPalette.amber)
    TimerRow { width: parent.width; timer: root.model.timer; settings: root.settings }
}
