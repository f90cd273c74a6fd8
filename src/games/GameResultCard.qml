import QtQuick
import Pavlet
import Pavlet.Style

// The card that closes a game, at the bottom of the game area: its rows are
// the game's own (a result line, a score, chips).
Item {
    id: root
    property real bottomInset: IslandStyle.spacing
    property real rowSpacing: IslandStyle.spacing
    default property alias content: column.data

    Rectangle {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: root.bottomInset
        width: Math.min(root.width, column.implicitWidth + 2 * IslandStyle.spacingXLarge)
        height: column.implicitHeight + 2 * IslandStyle.spacingXLarge
        radius: IslandStyle.radiusLarge
        color: IslandPalette.black62

        Column {
            id: column
            anchors.centerIn: parent
            spacing: root.rowSpacing
        }
    }
}
