import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// "How to use the notch": the island's gestures, always the same eight.
ColumnLayout {
    id: root
    required property SettingsNavigation navigation
    Layout.fillWidth: true
    spacing: IslandStyle.spacingSmall

    Text {
        textFormat: Text.PlainText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        text: "How to use the notch"
        color: IslandPalette.textPrimary
        font.pixelSize: IslandStyle.fontHeadline
        font.weight: Font.DemiBold
    }
    SettingsCardBox {
        padding: IslandStyle.spacingSmall
        spacing: IslandStyle.spacing
        Repeater {
            model: root.navigation.gestureRows()
            delegate: RowLayout {
                id: gesture
                required property gestureRow modelData
                Layout.fillWidth: true
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    Layout.preferredWidth: SettingsMetrics.gestureColumn
                    text: gesture.modelData.gesture
                    color: IslandPalette.textPrimary
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCallout
                    font.weight: Font.DemiBold
                }
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    Layout.fillWidth: true
                    text: gesture.modelData.effect
                    color: IslandPalette.textSecondary
                    font.pixelSize: IslandStyle.fontCallout
                }
            }
        }
    }
}
