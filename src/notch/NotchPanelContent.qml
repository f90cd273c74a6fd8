import QtQuick
import Pavlet

// What the island window shows until the island's views take over: the black
// island in its outline, placed where the panel puts the island inside the
// window, and the drop area for files.
Item {
    id: root
    required property QtObject panel
    anchors.fill: parent

    IslandShape {
        objectName: "backdrop"
        x: root.panel.islandRect.x
        y: root.panel.islandRect.y
        width: root.panel.islandRect.width
        height: root.panel.islandRect.height
        cornerRadius: root.panel.cornerRadius
        floating: root.panel.floating
        fillColor: "black"
    }

    DropArea {
        x: root.panel.islandRect.x
        y: root.panel.islandRect.y
        width: root.panel.islandRect.width
        height: root.panel.islandRect.height
        keys: ["text/uri-list"]
        onEntered: (drag) => { drag.accepted = root.panel.dragEnter(drag.urls) }
        onExited: root.panel.dragExit()
        onDropped: (drop) => {
            if (root.panel.drop(drop.urls))
                drop.acceptProposedAction()
        }
    }
}
