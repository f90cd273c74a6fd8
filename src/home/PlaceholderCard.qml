import QtQuick
import Pavlet
import Pavlet.Style

// A card whose reading has not come in yet.
ModuleCard {
    id: root
    property string message
    CardText {
        width: parent.width
        text: root.message
        color: IslandPalette.textSecondary
    }
}
