import QtQuick
import Pavlet
import Pavlet.Style

// A square of cover art, or a tile tinted with the accent and carrying a
// symbol when there is none. The artwork comes with its corners already
// rounded and transparent, so it sits on any background.
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

    Rectangle {
        anchors.fill: parent
        visible: art.status !== Image.Ready
        radius: root.corner
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
        source: MediaText.roundedArtwork(root.image, root.corner, root.size)
        fillMode: Image.PreserveAspectCrop
        sourceSize: Qt.size(root.size * 2, root.size * 2)
        visible: status === Image.Ready
    }
}
