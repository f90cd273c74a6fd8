import QtQuick
import QtQuick.Layouts
import QtQuick.Controls
import Pavlet
import Pavlet.Style

// The last copied texts, newest first, each with a copy-back button.
ModuleCard {
    id: root
    required property clipboardHistory history
    signal copy(clipboardItem item)
    title: qsTr("Clipboard")
    accent: IslandPalette.accent(IslandPalette.pink)

    Column {
        width: parent.width
        spacing: IslandStyle.spacingSmall
        CardText {
            visible: root.history.items.length === 0 && !root.history.newestTooLarge
            text: qsTr("Nothing copied yet")
            color: IslandPalette.textTertiary
        }
        CardText {
            visible: root.history.newestTooLarge
            text: qsTr("The newest copy was too large to keep")
            color: IslandPalette.textTertiary
        }
        Repeater {
            model: root.history.items
            RowLayout {
                id: row
                required property clipboardItem modelData
                width: parent.width
                spacing: IslandStyle.spacing
                CardText { text: row.modelData.preview; Layout.fillWidth: true }
                IslandIconButton {
                    systemName: "doc.on.doc"
                    size: IslandStyle.fontFootnote
                    color: IslandPalette.textSecondary
                    help: qsTr("Copy")
                    keys: true
                    onClicked: root.copy(row.modelData)
                }
            }
        }
    }
}
