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

    // The table of panels is made by its address when the island first
    // opens, so that the first frame compiles none of the panels nor the
    // controls they import (the island window compiles them in the
    // background once it shows).
    property IslandPanels table: null
    readonly property bool opened: root.model.state !== Island.NotchState.collapsed
    onOpenedChanged: if (opened) makeTable()
    Component.onCompleted: if (opened) makeTable()
    function makeTable() {
        if (root.table)
            return
        const component = Qt.createComponent(Qt.resolvedUrl("IslandPanelTable.qml"))
        root.table = component.createObject(root, { model: root.model, settings: root.settings,
                                                     homeParts: root.homeParts })
    }
    IslandPanels { id: noPanels }

    NotchView {
        id: island
        anchors.fill: parent
        model: root.model
        settings: root.settings
        panels: root.table ? root.table : noPanels
    }
}
