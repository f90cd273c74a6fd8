import QtQuick
import Pavlet

// What the island window shows: the island's root view, placed where the
// panel puts the island inside the window (a plain black island until the
// island's model is handed over), and the drop area for files.
Item {
    id: root
    required property QtObject panel
    // The island's model and the settings store, handed over once made.
    property NotchViewModel model: null
    property AppSettings settings: null
    anchors.fill: parent

    IslandShape {
        objectName: "backdrop"
        visible: !island.active
        x: root.panel.islandRect.x
        y: root.panel.islandRect.y
        width: root.panel.islandRect.width
        height: root.panel.islandRect.height
        cornerRadius: root.panel.cornerRadius
        floating: root.panel.floating
        fillColor: IslandPalette.black
    }

    Loader {
        id: island
        objectName: "island"
        active: root.model !== null && root.settings !== null
        x: root.panel.islandRect.x
        y: root.panel.islandRect.y
        width: root.panel.islandRect.width
        height: root.panel.islandRect.height
        sourceComponent: NotchView {
            radius: root.panel.cornerRadius
            model: root.model
            settings: root.settings
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
