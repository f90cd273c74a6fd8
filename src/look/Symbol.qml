import QtQuick
import Pavlet
import Pavlet.Style

// One of the island's symbols, by name, in a colour. The symbol is drawn in a
// square a little larger than its point size, like a glyph of that size.
Image {
    id: root
    property string name
    property color color: IslandPalette.white
    property real size: 12

    width: Math.round(size * 1.25)
    height: width
    sourceSize: Qt.size(width * 2, height * 2)
    source: name.length > 0 ? SymbolIcons.source(name, color) : ""
    fillMode: Image.PreserveAspectFit
    smooth: true
}
