import QtQuick
import Pavlet
import Pavlet.Style

// The box every Home card sits in: the title in small capitals in the card's
// accent above the card's own content, on a faint rounded fill.
Rectangle {
    id: root
    property string title
    property color accent: IslandPalette.sky
    default property alias content: body.data

    implicitHeight: column.implicitHeight + 2 * IslandStyle.spacingMedium
    radius: IslandStyle.radiusCard
    color: IslandPalette.fill
    // A screen reader meets the card as a group under its title.
    Accessible.role: Accessible.Grouping
    Accessible.name: root.title

    Column {
        id: column
        x: IslandStyle.spacingLarge
        y: IslandStyle.spacingMedium
        width: root.width - 2 * IslandStyle.spacingLarge
        spacing: IslandStyle.spacing
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: root.title.toUpperCase()
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontCaption
            font.letterSpacing: 0.4
            color: root.accent
        }
        Item {
            id: body
            width: parent.width
            implicitHeight: childrenRect.height
            height: implicitHeight
        }
    }
}
