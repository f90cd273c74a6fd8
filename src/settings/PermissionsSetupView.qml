import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The first-run sheet over the whole window: the recommended permissions
// with their status, "Allow recommended" and "Continue". Focus stays inside
// it while it is up.
FocusScope {
    id: root
    required property PermissionsPresenter permissions

    Binding {
        target: root.permissions
        property: "sheetVisible"
        value: root.visible
    }

    Rectangle {
        anchors.fill: parent
        color: IslandPalette.black
        opacity: SettingsMetrics.sheetShade
    }
    // Clicks stop here: the window under the sheet is out of reach.
    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
    }

    // The sheet's column, centred; when the window is too short for all of
    // it, the upper part scrolls and the buttons stay in view.
    ColumnLayout {
        anchors.centerIn: parent
        width: Math.min(parent.width - 2 * SettingsMetrics.sheetInset, SettingsMetrics.boxMaxWidth)
        height: Math.min(implicitHeight, parent.height - 2 * SettingsMetrics.sheetInset)
        spacing: SettingsMetrics.pageSpacing

        SettingsScrollView {
            id: scroll
            objectName: "sheetScroll"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.preferredHeight: content.implicitHeight
            Layout.minimumHeight: Math.min(content.implicitHeight, IslandStyle.spacingHuge * 4)

            ColumnLayout {
                id: content
                width: scroll.availableWidth
                spacing: SettingsMetrics.pageSpacing

                PavletMascot {
                    Layout.alignment: Qt.AlignHCenter
                    size: SettingsMetrics.mascotSize
                    color: IslandPalette.accent(IslandPalette.yellow)
                }
                ColumnLayout {
                    Layout.alignment: Qt.AlignHCenter
                    spacing: IslandStyle.spacing
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        Layout.alignment: Qt.AlignHCenter
                        text: "Welcome to Pavlet"
                        color: IslandPalette.textPrimary
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: SettingsMetrics.welcomeFont
                        font.weight: Font.DemiBold
                    }
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        Layout.alignment: Qt.AlignHCenter
                        Layout.maximumWidth: SettingsMetrics.introMaxWidth
                        Layout.preferredWidth: SettingsMetrics.introMaxWidth
                        text: "Allow Calendar and Location if you want events and weather in the notch. Accessibility is only needed for volume and brightness bars. You can skip all of this and turn things on later in Settings."
                        color: IslandPalette.textSecondary
                        font.pixelSize: IslandStyle.fontCallout
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.WordWrap
                    }
                }
                SettingsCardBox {
                    padding: IslandStyle.spacingXLarge
                    spacing: IslandStyle.spacingMedium
                    radius: IslandStyle.radiusLarge
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: "RECOMMENDED"
                        color: IslandPalette.textSecondary
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontFootnote
                        font.weight: Font.DemiBold
                    }
                    Repeater {
                        model: root.permissions.recommended
                        delegate: RowLayout {
                            id: row
                            required property string permissionId
                            required property string name
                            required property string symbol
                            required property string reason
                            required property bool granted
                            objectName: "setup-" + permissionId
                            Layout.fillWidth: true
                            spacing: IslandStyle.spacingMedium
                            Item {
                                Layout.preferredWidth: SettingsMetrics.moduleSymbolWidth
                                implicitHeight: mark.height
                                SettingsSymbol {
                                    id: mark
                                    anchors.centerIn: parent
                                    name: row.granted ? "checkmark.circle.fill" : row.symbol
                                    size: IslandStyle.fontCallout
                                    color: row.granted ? IslandPalette.accent(IslandPalette.mint)
                                                       : IslandPalette.accent(IslandPalette.yellow)
                                }
                            }
                            ColumnLayout {
                                Layout.fillWidth: true
                                spacing: IslandStyle.spacingHair
                                Text {
                                    textFormat: Text.PlainText
                                    Accessible.role: Accessible.StaticText
                                    Accessible.name: text
                                    text: row.name
                                    color: IslandPalette.textPrimary
                                    font.family: IslandStyle.roundedFamily
                                    font.pixelSize: IslandStyle.fontSubhead
                                    font.weight: Font.DemiBold
                                }
                                Text {
                                    textFormat: Text.PlainText
                                    Accessible.role: Accessible.StaticText
                                    Accessible.name: text
                                    Layout.fillWidth: true
                                    text: row.reason
                                    color: IslandPalette.textSecondary
                                    font.pixelSize: IslandStyle.fontBody
                                    wrapMode: Text.WordWrap
                                }
                            }
                        }
                    }
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: IslandStyle.spacing
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: "OPTIONAL \u00b7 later in Settings"
                        color: IslandPalette.textSecondary
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontFootnote
                        font.weight: Font.DemiBold
                    }
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: root.permissions.optionalNames
                        color: IslandPalette.textTertiary
                        font.pixelSize: IslandStyle.fontCallout
                    }
                }
            }
        }
        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            visible: root.permissions.walking
            spacing: IslandStyle.spacing
            SettingsSpinner {
                implicitWidth: IslandStyle.fontCallout + IslandStyle.spacingTiny
                implicitHeight: implicitWidth
                color: IslandPalette.textSecondary
            }
            Text {
                objectName: "walkStatus"
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                text: "Allow " + root.permissions.currentName + "\u2026"
                color: IslandPalette.textSecondary
                font.pixelSize: IslandStyle.fontCallout
            }
        }
        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            spacing: IslandStyle.spacingLarge
            SettingsButton {
                objectName: "allowRecommended"
                prominent: true
                text: root.permissions.walking ? "Waiting\u2026" : "Allow recommended"
                fontSize: IslandStyle.fontSubhead
                horizontalInset: IslandStyle.spacingXLarge
                verticalInset: IslandStyle.spacingMedium
                enabled: !root.permissions.walking
                onClicked: root.permissions.allowRecommended()
            }
            SettingsButton {
                objectName: "continue"
                text: "Continue"
                fontSize: IslandStyle.fontSubhead
                horizontalInset: IslandStyle.spacingXLarge
                verticalInset: IslandStyle.spacingMedium
                enabled: !root.permissions.walking
                onClicked: root.permissions.finish()
            }
        }
    }
}
