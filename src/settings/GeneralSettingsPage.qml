import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The first page: what this window is for, updates, launch at login, the
// version and "Quit Pavlet".
ColumnLayout {
    id: root
    required property AppSettings settings
    required property UpdateCardModel updateCard
    property SettingsNavigation navigation: null
    spacing: 0

    SettingsScrollView {
        id: scroll
        Layout.fillWidth: true
        Layout.fillHeight: true

        ColumnLayout {
            width: scroll.availableWidth
            spacing: SettingsMetrics.pageSpacing

            SettingsHeading {
                title: "Pavlet"
                subtitle: "Click the notch at the top of the screen to open home. This window is for settings."
            }
            UpdateSettingsCard {
                card: root.updateCard
            }
            SettingsSwitch {
                objectName: "launchAtLogin"
                text: "Launch at login"
                checked: root.settings.launchAtLogin
                onToggled: root.settings.launchAtLogin = checked
            }
            Text {
                objectName: "launchAtLoginProblem"
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                Layout.fillWidth: true
                Layout.topMargin: IslandStyle.spacingSmall - SettingsMetrics.pageSpacing
                visible: root.settings.launchAtLoginProblem.length > 0
                text: root.settings.launchAtLoginProblem
                color: IslandPalette.accent(IslandPalette.coral)
                font.pixelSize: IslandStyle.fontBody
                wrapMode: Text.WordWrap
            }
            Item { implicitHeight: IslandStyle.spacingXLarge - SettingsMetrics.pageSpacing }
        }
    }
    RowLayout {
        Layout.fillWidth: true
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: root.updateCard.footerText
            color: IslandPalette.textTertiary
            font.pixelSize: IslandStyle.fontBody
        }
        Item { Layout.fillWidth: true }
        SettingsButton {
            objectName: "quit"
            text: "Quit Pavlet"
            font.weight: Font.Normal
            onClicked: if (root.navigation) root.navigation.quit()
        }
    }
}
