import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The island clock's time zone and 12- or 24-hour cycle, with a sample.
SettingsCardBox {
    id: root
    required property AppSettings settings
    required property ClockSample sample

    Binding {
        target: root.sample
        property: "active"
        value: root.visible && root.Window.window !== null && root.Window.window.visible
    }
    readonly property color accent: IslandPalette.accent(IslandPalette.yellow)

    ColumnLayout {
        spacing: IslandStyle.spacingTiny
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: "Clock"
            color: IslandPalette.textPrimary
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontHeadline
            font.weight: Font.DemiBold
        }
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            Layout.fillWidth: true
            text: "Time zone and 12-hour or 24-hour for the notch header and idle clock."
            color: IslandPalette.textSecondary
            font.pixelSize: IslandStyle.fontBody
            wrapMode: Text.WordWrap
        }
    }
    RowLayout {
        spacing: IslandStyle.spacingMedium
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: "Time zone"
            color: IslandPalette.textPrimary
            font.pixelSize: IslandStyle.fontCallout
        }
        SettingsComboBox {
            objectName: "notchZone"
            Layout.fillWidth: true
            model: SettingsTimeZones.notchMenu(root.settings.notchTimeZone)
            currentIndex: SettingsTimeZones.notchIndex(root.settings.notchTimeZone)
            onActivated: index => root.settings.notchTimeZone = SettingsTimeZones.notchValue(root.settings.notchTimeZone, index)
        }
    }
    RowLayout {
        spacing: IslandStyle.spacingMedium
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: "Time"
            color: IslandPalette.textPrimary
            font.pixelSize: IslandStyle.fontCallout
        }
        SettingsSegment {
            objectName: "notchHours"
            labels: ["12-hour", "24-hour"]
            selected: root.settings.notchUse24Hour ? 1 : 0
            onPicked: index => root.settings.notchUse24Hour = index === 1
        }
    }
    Text {
        objectName: "clockSample"
        textFormat: Text.PlainText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        text: root.sample.text
        color: root.accent
        font.family: IslandStyle.digitsFamily
        font.pixelSize: IslandStyle.fontCallout
        font.weight: Font.Medium
    }
}
