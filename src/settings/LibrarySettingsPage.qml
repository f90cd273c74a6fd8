import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The library modules not installed yet, each with Install.
ColumnLayout {
    id: root
    required property AppSettings settings
    required property ModulesPresenter modules
    required property WorldClocksEditorModel worldClocks
    spacing: SettingsMetrics.listPageSpacing

    SettingsHeading {
        title: "Library"
        subtitle: "Install extra modules. They land on Modules after you install them."
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
                visible: cards.count === 0
                text: "Everything from the library is on the notch."
                color: IslandPalette.textSecondary
                font.pixelSize: IslandStyle.fontBody
            }
            Repeater {
                id: cards
                model: root.modules.libraryPage
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
