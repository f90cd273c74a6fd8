import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The island's look and behaviour, the on-screen editor, the island clock
// and the list of gestures.
ColumnLayout {
    id: root
    required property AppSettings settings
    required property SettingsNavigation navigation
    required property ClockSample clockSample
    spacing: 0

    component Note: Text {
        textFormat: Text.PlainText
        Layout.fillWidth: true
        color: IslandPalette.textSecondary
        font.pixelSize: IslandStyle.fontCallout
        wrapMode: Text.WordWrap
    }

    SettingsScrollView {
        id: scroll
        Layout.fillWidth: true
        Layout.fillHeight: true

        ColumnLayout {
            width: scroll.availableWidth
            spacing: SettingsMetrics.pageSpacing

            SettingsHeading {
                title: "Notch"
                subtitle: "Idle stays black and flush with the camera, or a floating pill on a computer without a notch. Hover peeks live info; click to open."
            }
            IslandEditLaunchCard {
                navigation: root.navigation
            }
            SettingsSwitch {
                objectName: "floatingIsland"
                text: "Floating island"
                checked: root.settings.floatingIsland
                onToggled: root.settings.floatingIsland = checked
            }
            Note {
                text: "On a computer without a camera notch, rest a pill just below the top of the screen so wallpaper shows above it. Ignored when this display already has a notch."
            }
            SettingsSwitch {
                text: "Show in screenshots and screen shares"
                checked: root.settings.includeInScreenCapture
                onToggled: root.settings.includeInScreenCapture = checked
            }
            SettingsSwitch {
                text: "Hide version number"
                checked: root.settings.hideNotchVersion
                onToggled: root.settings.hideNotchVersion = checked
            }
            Note {
                text: "Off by default. Turn on to hide the version line at the bottom of home."
            }
            SettingsSwitch {
                text: "Show clock when idle"
                checked: root.settings.showClockWhenIdle
                onToggled: root.settings.showClockWhenIdle = checked
            }
            NotchClockEditor {
                settings: root.settings
                sample: root.clockSample
            }
            SettingsSwitch {
                text: "Show ambient smile"
                checked: root.settings.showAmbientSmile
                onToggled: root.settings.showAmbientSmile = checked
            }
            SettingsSwitch {
                text: "Drop shadow"
                checked: root.settings.showDropShadow
                onToggled: root.settings.showDropShadow = checked
            }
            AccentCard {
                settings: root.settings
            }
            SettingsSwitch {
                objectName: "showSystemHUD"
                text: "Volume and brightness bars"
                checked: root.settings.showSystemHUD
                onToggled: root.settings.showSystemHUD = checked
            }
            Note {
                objectName: "hudNote"
                visible: root.settings.showSystemHUD
                text: "Shows volume and brightness bars in the notch when those keys are pressed. This is the island\u2019s own display: the desktop\u2019s own indicator may still show as well."
            }
            SettingsSwitch {
                text: "Expand on hover"
                checked: root.settings.expandOnHover
                onToggled: root.settings.expandOnHover = checked
            }
            SettingsSwitch {
                text: "Watch for eye strain"
                checked: root.settings.eyeStrainGuard
                onToggled: root.settings.eyeStrainGuard = checked
            }
            Note {
                text: "Eye strain uses the 20-20-20 rule. If Mirror is on, it also warns when you sit too close."
            }
            GestureList {
                navigation: root.navigation
            }
            Item { implicitHeight: IslandStyle.spacingXLarge - SettingsMetrics.pageSpacing }
        }
    }
}
