import QtQuick
import Qt5Compat.GraphicalEffects
import Pavlet

// A square of cover art, or a tile tinted with the accent and carrying a
// symbol when there is none; clipped to rounded corners.
Item {
    id: root
    // The artwork's image address; empty when there is none.
    property url image
    property real size: 22
    property real corner: 5
    property color accent: IslandPalette.white
    property string symbol: "music.note"

    width: size
    height: size

    Item {
        id: content
        anchors.fill: parent
        // Without GL there are no effects: the corners stay square then.
        layer.enabled: GraphicsInfo.api !== GraphicsInfo.Software
        layer.effect: OpacityMask { maskSource: mask }

        Rectangle {
            anchors.fill: parent
            visible: art.status !== Image.Ready
            color: IslandPalette.faded(root.accent, 0.18)
            Symbol {
                anchors.centerIn: parent
                name: root.symbol
                color: root.accent
                size: root.size * 0.3
            }
        }
        Image {
            id: art
            anchors.fill: parent
            source: root.image
            fillMode: Image.PreserveAspectCrop
            sourceSize: Qt.size(root.size * 2, root.size * 2)
            visible: status === Image.Ready
        }
    }
    Rectangle {
        id: mask
        width: root.size
        height: root.size
        radius: root.corner
        visible: false
    }
}
