import QtQuick
import Pavlet

// What the island window shows: the island's root view, placed where the
// panel puts the island inside the window (a plain black island until the
// island's model is handed over), and the drop area for files.
Item {
    id: root
    required property QtObject panel
    // The island's model, the settings store and the permission records.
    property var model: null
    property var settings: null
    property var permissions: null
    anchors.fill: parent

    IslandShape {
        objectName: "backdrop"
        visible: !root.model
        x: root.panel.islandRect.x
        y: root.panel.islandRect.y
        width: root.panel.islandRect.width
        height: root.panel.islandRect.height
        cornerRadius: root.panel.cornerRadius
        floating: root.panel.floating
        fillColor: "black"
    }

    Loader {
        objectName: "island"
        active: !!root.model
        x: root.panel.islandRect.x
        y: root.panel.islandRect.y
        width: root.panel.islandRect.width
        height: root.panel.islandRect.height
        sourceComponent: NotchView {
            radius: root.panel.cornerRadius
            model: root.model
            settings: root.settings
            permissions: root.permissions
        }
    }

    DropArea {
        x: root.panel.islandRect.x
        y: root.panel.islandRect.y
        width: root.panel.islandRect.width
        height: root.panel.islandRect.height
        keys: ["text/uri-list"]
        onEntered: (drag) => { drag.accepted = root.panel.dragEnter(drag.urls) }
        onExited: root.panel.dragExit()
        // The island keeps copies: a drop offered as a move is taken as a
        // copy, so the source never deletes the files it handed over.
        onDropped: (drop) => {
            if (root.panel.drop(drop.urls))
                drop.accept(Qt.CopyAction)
        }
    }
}
