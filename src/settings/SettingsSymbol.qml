import QtQuick
import Pavlet
import Pavlet.Style

// A symbol that layouts can place: its size is fixed by its point size, not
// by the picture it loads.
Item {
    id: root
    property string name
    property color color: IslandPalette.textPrimary
    property real size: IslandStyle.fontCallout
    implicitWidth: symbol.width
    implicitHeight: symbol.height

    Symbol {
        id: symbol
        anchors.centerIn: parent
        name: root.name
        color: root.color
        size: root.size
    }
}
