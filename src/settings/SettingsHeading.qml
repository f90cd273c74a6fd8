import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// A page's title and the line under it.
ColumnLayout {
    id: root
    required property string title
    required property string subtitle
    spacing: IslandStyle.spacingSmall
    Layout.fillWidth: true

    Text {
        textFormat: Text.PlainText
        text: root.title
        Accessible.role: Accessible.Heading
        Accessible.name: text
        color: IslandPalette.textPrimary
        font.family: IslandStyle.roundedFamily
        font.pixelSize: IslandStyle.fontLarge
        font.weight: Font.DemiBold
    }
    Text {
        textFormat: Text.PlainText
        Layout.fillWidth: true
        Layout.bottomMargin: IslandStyle.spacing
        text: root.subtitle
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        color: IslandPalette.textSecondary
        font.pixelSize: IslandStyle.fontCallout
        wrapMode: Text.WordWrap
    }
}
