import QtQuick
import Pavlet
import Pavlet.Style

// The line of the day, wrapped over as many lines as it needs.
ModuleCard {
    id: root
    required property string quote
    title: qsTr("Today")
    accent: IslandPalette.accent(IslandPalette.yellow)
    CardText {
        width: parent.width
        text: root.quote
        wrapMode: Text.WordWrap
        maximumLineCount: 100
        elide: Text.ElideNone
    }
}
