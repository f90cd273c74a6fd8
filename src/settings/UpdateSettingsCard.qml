import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The update service's face in the settings window.
SettingsCardBox {
    id: root
    required property UpdateCardModel card
    readonly property color accent: IslandPalette.accent(IslandPalette.yellow)
    spacing: IslandStyle.spacingMedium

    RowLayout {
        Layout.fillWidth: true
        spacing: IslandStyle.spacing
        SettingsSymbol {
            name: "arrow.down.circle.fill"
            size: IslandStyle.fontTitle3
            color: root.accent
        }
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: "Updates"
            color: IslandPalette.textPrimary
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontHeadline
            font.weight: Font.DemiBold
        }
        Item { Layout.fillWidth: true }
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: root.card.versionText
            color: IslandPalette.textSecondary
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontBody
            font.weight: Font.Medium
        }
    }
    Text {
        objectName: "updateStatusLine"
        textFormat: Text.PlainText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        Layout.fillWidth: true
        text: root.card.state.statusLine
        color: IslandPalette.textSecondary
        font.pixelSize: IslandStyle.fontBody
        wrapMode: Text.WordWrap
    }
    ProgressBar {
        Layout.fillWidth: true
        visible: root.card.state.showsProgress
        value: root.card.state.fraction
        background: Rectangle {
            implicitHeight: IslandStyle.spacingTiny
            radius: height / 2
            color: IslandPalette.fillStrong
        }
        contentItem: Item {
            Rectangle {
                width: parent.width * root.card.state.fraction
                height: parent.height
                radius: height / 2
                color: root.accent
            }
        }
    }
    RowLayout {
        spacing: IslandStyle.spacingMedium
        SettingsButton {
            objectName: "updateMain"
            prominent: true
            tint: root.accent
            text: root.card.state.primaryTitle
            enabled: root.card.state.mainEnabled
            onClicked: root.card.runMain()
        }
        SettingsButton {
            objectName: "updateLater"
            visible: root.card.state.laterVisible
            text: "Later"
            secondary: true
            font.weight: Font.Medium
            background: Item {}
            onClicked: root.card.later()
        }
    }
}
