import QtQuick
import Pavlet
import Pavlet.Style

// What the island window shows: the island's root view, placed where the
// panel puts the island inside the window (a plain black island for a window
// without the island's model), and the drop area for files.
Item {
    id: root
    required property QtObject panel
    // The island's model, the settings store and the Home panel's parts, set
    // as the window's content is made; null in a window without the island.
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeParts homeParts
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
        active: root.model !== null && root.settings !== null && root.homeParts !== null
        x: root.panel.islandRect.x
        y: root.panel.islandRect.y
        width: root.panel.islandRect.width
        height: root.panel.islandRect.height
        sourceComponent: NotchIsland {
            radius: root.panel.cornerRadius
            model: root.model
            settings: root.settings
            homeParts: root.homeParts
        }
    }

    // The window is cut to the island's outline: tooltips and menus stay
    // inside it.
    PopupFence {
        window: root.Window.window
        bounds: root.panel.islandRect
        cornerRadius: root.panel.cornerRadius
    }

    DropArea {
        x: root.panel.islandRect.x
        y: root.panel.islandRect.y
        width: root.panel.islandRect.width
        height: root.panel.islandRect.height
        keys: ["text/uri-list"]
        // The island keeps copies: a drag offered as a move is answered as a
        // copy from its first reply to the drop, so the source never deletes
        // the files it handed over.
        onEntered: (drag) => {
            if (root.panel.dragEnter(drag.urls))
                drag.accept(Qt.CopyAction)
            else
                drag.accepted = false
        }
        onPositionChanged: (drag) => drag.accept(Qt.CopyAction)
        onExited: root.panel.dragExit()
        onDropped: (drop) => {
            if (root.panel.drop(drop.urls))
                drop.accept(Qt.CopyAction)
        }
    }
}
