import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// A module's card: symbol, title, description and permission line; its
// switch, Remove or Install; and, expanded, its options, the world-clock
// editor or the Canvas form.
Rectangle {
    id: root
    required property AppSettings settings
    required property ModulesPresenter modules
    required property WorldClocksEditorModel worldClocks
    required property string moduleId
    required property int kind
    required property string title
    required property string detail
    required property string symbol
    required property bool included
    required property bool onNotch
    required property bool hasChevron
    required property bool installing
    required property string permissionLine
    // Whether the card's page is on screen.
    required property bool pageShown

    property bool expanded: false
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    readonly property bool isLibrary: kind === ModulesPresenter.Library

    objectName: "module-" + moduleId
    Layout.fillWidth: true
    implicitHeight: column.implicitHeight
    radius: IslandStyle.radius
    color: IslandPalette.fill
    clip: true
    // Each time the card comes on screen it starts over: the player and the
    // world clocks open, the others closed. (Keeping the cards and starting
    // them over draws a page switch in one frame; making them anew does not.)
    Component.onCompleted: if (pageShown) expanded = modules.takeExpandOnAppear(moduleId)
    onPageShownChanged: if (pageShown) expanded = modules.takeExpandOnAppear(moduleId)
    Behavior on implicitHeight {
        NumberAnimation { duration: SettingsMetrics.expandMs; easing.type: Easing.InOutQuad }
    }

    ColumnLayout {
        id: column
        width: parent.width
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.margins: IslandStyle.spacingMedium
            spacing: IslandStyle.spacingLarge

            Item {
                id: headerControl
                Layout.fillWidth: true
                implicitHeight: header.implicitHeight
                readonly property bool opens: root.hasChevron
                readonly property int radius: IslandStyle.radiusSmall
                activeFocusOnTab: opens
                Keys.onSpacePressed: root.expanded = !root.expanded
                Keys.onReturnPressed: root.expanded = !root.expanded
                Accessible.role: opens ? Accessible.Button : Accessible.StaticText
                Accessible.name: root.title
                Accessible.description: opens ? (root.expanded ? qsTr("Expanded") : qsTr("Collapsed")) : ""
                Accessible.onPressAction: if (opens) root.expanded = !root.expanded
                FocusRing {
                    shown: headerControl.activeFocus
                }
                RowLayout {
                    id: header
                    width: parent.width
                    spacing: IslandStyle.spacingLarge
                    Item {
                        Layout.preferredWidth: SettingsMetrics.moduleSymbolWidth
                        Layout.preferredHeight: SettingsMetrics.moduleSymbolWidth
                        SettingsSymbol {
                            anchors.centerIn: parent
                            name: root.symbol
                            size: IslandStyle.fontSubhead
                            color: root.isLibrary ? IslandPalette.textSecondary
                                                  : IslandPalette.accent(IslandPalette.sky)
                            opacity: root.installing ? SettingsMetrics.installingSymbolOpacity : 1
                        }
                        SettingsSpinner {
                            anchors.fill: parent
                            visible: root.installing
                            color: root.gold
                        }
                    }
                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: IslandStyle.spacingHair
                        RowLayout {
                            spacing: IslandStyle.spacingSmall
                            Text {
                                textFormat: Text.PlainText
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                                text: root.title
                                color: IslandPalette.textPrimary
                                font.family: IslandStyle.roundedFamily
                                font.pixelSize: IslandStyle.fontCallout
                                font.weight: Font.DemiBold
                            }
                            Text {
                                textFormat: Text.PlainText
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                                visible: root.included
                                text: "Included"
                                color: root.gold
                                font.family: IslandStyle.roundedFamily
                                font.pixelSize: IslandStyle.fontCaption
                                font.weight: Font.DemiBold
                            }
                        }
                        Text {
                            textFormat: Text.PlainText
                            Accessible.role: Accessible.StaticText
                            Accessible.name: text
                            Layout.fillWidth: true
                            text: root.detail
                            color: IslandPalette.textSecondary
                            font.pixelSize: IslandStyle.fontFootnote
                            wrapMode: Text.WordWrap
                        }
                        Text {
                            objectName: "permissionLine"
                            textFormat: Text.PlainText
                            Accessible.role: Accessible.StaticText
                            Accessible.name: text
                            visible: root.permissionLine.length > 0
                            text: root.permissionLine
                            color: IslandPalette.accent(IslandPalette.amber)
                            font.pixelSize: IslandStyle.fontFootnote
                        }
                    }
                    SettingsSymbol {
                        visible: root.hasChevron
                        name: "chevron.down"
                        size: IslandStyle.fontFootnote
                        color: IslandPalette.textSecondary
                        rotation: root.expanded ? 0 : -90
                        Behavior on rotation { NumberAnimation { duration: SettingsMetrics.expandMs; easing.type: Easing.InOutQuad } }
                    }
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: if (root.modules.canExpand(root.moduleId)) root.expanded = !root.expanded
                }
            }
            SettingsSwitch {
                objectName: "onNotch"
                visible: root.kind === ModulesPresenter.Shipped
                Layout.fillWidth: false
                checked: root.onNotch
                onToggled: root.modules.setOnNotch(root.moduleId, checked)
                Accessible.name: qsTr("%1 on the notch").arg(root.title)
            }
            SettingsButton {
                visible: root.kind === ModulesPresenter.Installed
                text: "Remove"
                fontSize: IslandStyle.fontFootnote
                font.weight: Font.Normal
                onClicked: root.modules.remove(root.moduleId)
            }
            SettingsButton {
                objectName: "install"
                visible: root.isLibrary && !root.installing
                text: "Install"
                fontSize: IslandStyle.fontFootnote
                font.weight: Font.Normal
                onClicked: root.modules.install(root.moduleId)
            }
            RowLayout {
                visible: root.isLibrary && root.installing
                Layout.minimumWidth: SettingsMetrics.installingMinWidth
                spacing: IslandStyle.spacingSmall
                SettingsSpinner {
                    objectName: "installingIndicator"
                    implicitWidth: IslandStyle.fontFootnote + IslandStyle.spacingTiny
                    implicitHeight: implicitWidth
                    color: root.gold
                }
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: "Installing"
                    color: root.gold
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    font.weight: Font.DemiBold
                }
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.leftMargin: SettingsMetrics.expandedIndent
            Layout.rightMargin: IslandStyle.spacingLarge
            Layout.bottomMargin: IslandStyle.spacingLarge
            visible: root.expanded
            spacing: IslandStyle.spacing

            Repeater {
                model: root.expanded ? root.modules.options(root.moduleId) : []
                delegate: SettingsSwitch {
                    required property moduleOption modelData
                    text: modelData.title
                    fontSize: IslandStyle.fontBody
                    font.family: IslandStyle.roundedFamily
                    checked: root.settings[modelData.property]
                    onToggled: root.modules.setOption(modelData.property, checked)
                }
            }
            Loader {
                Layout.fillWidth: true
                active: root.expanded && root.modules.showsWorldClocks(root.moduleId)
                visible: active
                sourceComponent: WorldClocksEditor {
                    editor: root.worldClocks
                }
            }
            Loader {
                Layout.fillWidth: true
                active: root.expanded && root.modules.showsCanvasForm(root.moduleId)
                visible: active
                sourceComponent: CanvasSection {
                    settings: root.settings
                    modules: root.modules
                }
            }
        }
    }
}
