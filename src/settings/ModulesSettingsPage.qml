import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// What is on the notch: the shipped modules with their switches, then the
// installed library modules.
ColumnLayout {
    id: root
    required property AppSettings settings
    required property ModulesPresenter modules
    required property WorldClocksEditorModel worldClocks
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    spacing: SettingsMetrics.listPageSpacing

    SettingsHeading {
        title: "Modules"
        subtitle: "What\u2019s on the notch. Music, timer, weather, world clocks, and Bluetooth ship as tiles. Games and Pocket are notch icons."
    }
    Rectangle {
        objectName: "goToLibrary"
        Layout.fillWidth: true
        implicitHeight: goRow.implicitHeight + 2 * IslandStyle.spacingLarge
        radius: IslandStyle.radius
        color: IslandPalette.fill
        RowLayout {
            id: goRow
            anchors.fill: parent
            anchors.margins: IslandStyle.spacingLarge
            spacing: IslandStyle.spacing
            SettingsSymbol { name: "square.stack.fill"; size: IslandStyle.fontCallout; color: root.gold }
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                text: "Go to Library"
                color: root.gold
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontCallout
                font.weight: Font.DemiBold
            }
            Item { Layout.fillWidth: true }
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                text: "Install"
                color: IslandPalette.textSecondary
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontCallout
                font.weight: Font.DemiBold
            }
            SettingsSymbol { name: "chevron.right"; size: IslandStyle.fontFootnote; color: IslandPalette.textSecondary }
        }
        MouseArea {
            anchors.fill: parent
            onClicked: root.modules.goToLibrary()
        }
        Accessible.role: Accessible.Button
        Accessible.name: "Go to Library"
        Accessible.onPressAction: root.modules.goToLibrary()
        activeFocusOnTab: true
        Keys.onSpacePressed: root.modules.goToLibrary()
        Keys.onReturnPressed: root.modules.goToLibrary()
        FocusRing {
            shown: parent.activeFocus
        }
    }
    SettingsScrollView {
        id: scroll
        Layout.fillWidth: true
        Layout.fillHeight: true
        ColumnLayout {
            width: scroll.availableWidth
            spacing: SettingsMetrics.sectionSpacing
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                text: "On the notch"
                color: IslandPalette.textSecondary
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontFootnote
                font.weight: Font.DemiBold
            }
            Repeater {
                model: root.modules.modulesPage
                delegate: ModuleSettingsCard {
                    settings: root.settings
                    modules: root.modules
                    worldClocks: root.worldClocks
                    pageShown: root.visible
                }
            }
        }
    }
}
