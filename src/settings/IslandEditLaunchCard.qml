import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// Starts the on-screen island editor.
Rectangle {
    id: root
    required property SettingsNavigation navigation
    readonly property color tint: IslandPalette.accent(IslandPalette.yellow)
    Layout.fillWidth: true
    implicitHeight: column.implicitHeight + 2 * IslandStyle.spacingXLarge
    radius: IslandStyle.radiusCard
    color: IslandPalette.fill
    border.width: IslandStyle.strokeHair
    border.color: IslandPalette.faded(tint, SettingsMetrics.launchOutline)

    ColumnLayout {
        id: column
        x: IslandStyle.spacingXLarge
        y: IslandStyle.spacingXLarge
        width: parent.width - 2 * IslandStyle.spacingXLarge
        spacing: IslandStyle.spacingLarge + IslandStyle.spacingHair

        RowLayout {
            Layout.fillWidth: true
            spacing: IslandStyle.spacingLarge
            Rectangle {
                Layout.alignment: Qt.AlignTop
                implicitWidth: SettingsMetrics.launchTile
                implicitHeight: SettingsMetrics.launchTile
                radius: IslandStyle.radius
                color: IslandPalette.faded(root.tint, SettingsMetrics.launchTileFill)
                SettingsSymbol {
                    anchors.centerIn: parent
                    name: "circle.dashed"
                    size: IslandStyle.fontLarge
                    color: root.tint
                }
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: IslandStyle.spacingTiny
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: "Edit on screen"
                    color: IslandPalette.textPrimary
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontTitle3
                    font.weight: Font.DemiBold
                }
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    Layout.fillWidth: true
                    text: "Size the notch and the expanded island on your display. Notch and expanded are two steps. The red line is on Pavlet. Esc when it fits."
                    color: IslandPalette.textSecondary
                    font.pixelSize: IslandStyle.fontBody
                    wrapMode: Text.WordWrap
                }
            }
        }
        SettingsButton {
            objectName: "editOnScreen"
            Layout.fillWidth: true
            prominent: true
            tint: root.tint
            text: "Edit on screen"
            fontSize: IslandStyle.fontSubhead
            verticalInset: IslandStyle.spacing
            onClicked: root.navigation.beginIslandEdit()
        }
    }
}
