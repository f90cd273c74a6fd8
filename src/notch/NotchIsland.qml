import QtQuick
import Pavlet

// The island's root view with the program's panel for each open state.
Item {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeParts homeParts
    // The outline's corner radius, as the root view takes it.
    property alias radius: island.radius

    NotchView {
        id: island
        anchors.fill: parent
        model: root.model
        settings: root.settings
        panels: IslandPanelTable { model: root.model; settings: root.settings; homeParts: root.homeParts }
    }
}
