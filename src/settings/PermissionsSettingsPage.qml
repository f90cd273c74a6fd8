import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// One card per permission, with its status, its request buttons and the
// switch for the wish to use it.
SettingsScrollView {
    id: root
    required property PermissionsPresenter permissions

    Binding {
        target: root.permissions
        property: "pageVisible"
        value: root.visible && root.Window.window !== null && root.Window.window.visible
    }

    component Section: ColumnLayout {
        id: section
        required property string heading
        required property QtObject rows
        Layout.fillWidth: true
        spacing: IslandStyle.spacingMedium
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: section.heading
            color: IslandPalette.textSecondary
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontFootnote
            font.weight: Font.DemiBold
        }
        Repeater {
            model: section.rows
            delegate: PermissionCard {
                permissions: root.permissions
            }
        }
    }

    ColumnLayout {
        width: root.availableWidth
        spacing: SettingsMetrics.pageSpacing
        SettingsHeading {
            title: "Permissions"
            subtitle: "Calendar and Location are recommended for events and weather. Accessibility is only for volume and brightness bars. Optional ones stay off until you turn them on here."
        }
        Section {
            heading: "RECOMMENDED"
            rows: root.permissions.recommended
        }
        Section {
            heading: "OPTIONAL"
            rows: root.permissions.optional
        }
        Item { implicitHeight: IslandStyle.spacingXLarge - SettingsMetrics.pageSpacing }
    }
}
