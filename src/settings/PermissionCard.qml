import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// A permission's card on the Permissions page.
SettingsCardBox {
    id: card
    required property PermissionsPresenter permissions
    required property string permissionId
    required property string name
    required property string symbol
    required property string reason
    required property bool recommended
    required property string statusWord
    required property color statusColor
    required property bool statusAccented
    required property bool wants
    required property string grantTitle
    required property bool showAlreadyGranted
    required property bool requesting
    readonly property color pillColor: statusAccented ? IslandPalette.accent(statusColor)
                                                      : statusColor
    objectName: "permission-" + permissionId
    spacing: IslandStyle.spacingMedium
    opacity: wants ? 1 : SettingsMetrics.dimmedCardOpacity

    RowLayout {
        Layout.fillWidth: true
        spacing: IslandStyle.spacingLarge
        Item {
            Layout.alignment: Qt.AlignTop
            implicitWidth: SettingsMetrics.moduleSymbolWidth
            implicitHeight: SettingsMetrics.moduleSymbolWidth
            SettingsSymbol {
                anchors.centerIn: parent
                name: card.symbol
                size: IslandStyle.fontCallout
                color: IslandPalette.accent(IslandPalette.sky)
            }
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: IslandStyle.spacingTiny
            RowLayout {
                spacing: IslandStyle.spacing
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: card.name
                    color: IslandPalette.textPrimary
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontHeadline
                    font.weight: Font.DemiBold
                }
                Rectangle {
                    readonly property color sky: IslandPalette.accent(IslandPalette.sky)
                    implicitWidth: badge.implicitWidth + 2 * IslandStyle.spacingSmall
                    implicitHeight: badge.implicitHeight + 2 * IslandStyle.spacingHair
                    radius: height / 2
                    color: card.recommended ? IslandPalette.faded(sky, SettingsMetrics.badgeFill)
                                            : IslandPalette.fillStrong
                    Text {
                        id: badge
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        anchors.centerIn: parent
                        text: card.recommended ? "Recommended" : "Optional"
                        color: IslandPalette.textPrimary
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontCaption
                        font.weight: Font.DemiBold
                    }
                }
            }
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                Layout.fillWidth: true
                text: card.reason
                color: IslandPalette.textSecondary
                font.pixelSize: IslandStyle.fontBody
                wrapMode: Text.WordWrap
            }
        }
        Rectangle {
            objectName: "statusPill"
            Layout.alignment: Qt.AlignTop
            implicitWidth: pill.implicitWidth + 2 * IslandStyle.spacing
            implicitHeight: pill.implicitHeight + 2 * IslandStyle.spacingTiny
            radius: height / 2
            color: IslandPalette.faded(card.pillColor, card.pillColor.a * SettingsMetrics.pillFill)
            Text {
                id: pill
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                anchors.centerIn: parent
                text: card.statusWord
                color: card.pillColor
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontFootnote
                font.weight: Font.DemiBold
            }
        }
    }
    RowLayout {
        Layout.fillWidth: true
        spacing: IslandStyle.spacing
        SettingsButton {
            objectName: "grant"
            visible: card.grantTitle.length > 0
            text: card.grantTitle
            enabled: !card.requesting
            fontSize: IslandStyle.fontBody
            font.weight: Font.Normal
            onClicked: card.permissions.grant(card.permissionId)
        }
        SettingsButton {
            objectName: "alreadyGranted"
            visible: card.showAlreadyGranted
            text: "I already granted this."
            fontSize: IslandStyle.fontBody
            font.weight: Font.Normal
            onClicked: card.permissions.alreadyGranted(card.permissionId)
        }
        Item { Layout.fillWidth: true }
        SettingsSwitch {
            objectName: "wants"
            Layout.fillWidth: false
            checked: card.wants
            enabled: !card.requesting
            onToggled: card.permissions.setWants(card.permissionId, checked)
            Accessible.name: card.name
        }
    }
}
