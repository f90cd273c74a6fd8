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

    // The table of panels is compiled in the background when the island
    // first opens and made once compiled, so that neither the first frame
    // nor the island at rest carries the panels, the controls they import
    // or their compiled types; the hover view does not need them, and Home
    // is made from the table once it is there.
    property IslandPanels table: null
    property Component tableComponent: null
    readonly property bool opened: root.model.state !== Island.NotchState.collapsed
    onOpenedChanged: if (opened) makeTable()
    Component.onCompleted: if (opened) makeTable()
    function makeTable() {
        if (root.table || root.tableComponent)
            return
        root.tableComponent = Qt.createComponent(Qt.resolvedUrl("IslandPanelTable.qml"), Component.Asynchronous)
        root.tableCompiled()
    }
    // The compile can end after this view is gone (a quit during the first
    // opening): a Connections goes with the view, a connected function
    // would be called on a view that no longer exists.
    Connections {
        target: root.tableComponent
        function onStatusChanged() { root.tableCompiled() }
    }
    function tableCompiled() {
        const component = root.tableComponent
        if (!component || component.status === Component.Loading || root.table)
            return
        if (component.status === Component.Error) {
            console.warn(component.errorString())
            return
        }
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
