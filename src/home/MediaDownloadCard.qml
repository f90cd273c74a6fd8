import QtQuick
import QtQuick.Layouts
import QtQuick.Controls
import Pavlet
import Pavlet.Style

// A link field, the download's status and the Save menu of formats.
ModuleCard {
    id: root
    required property MediaDownloadEngine engine
    required property HomeModel home
    readonly property bool youtube: engine.kind === Tools.MediaKind.youtube

    Column {
        width: parent.width
        spacing: IslandStyle.spacing
        TextField {
            width: parent.width
            leftPadding: IslandStyle.spacing
            rightPadding: IslandStyle.spacing
            topPadding: IslandStyle.spacingSmall
            bottomPadding: IslandStyle.spacingSmall
            placeholderText: root.youtube ? qsTr("Paste a YouTube link") : qsTr("Paste a Spotify or track link")
            Accessible.name: placeholderText
            placeholderTextColor: IslandPalette.textTertiary
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontBody
            font.weight: Font.Medium
            color: IslandPalette.textPrimary
            text: root.engine.urlText
            onTextEdited: root.engine.urlText = text
            background: Rectangle { radius: IslandStyle.radiusMedium; color: IslandPalette.faded(IslandPalette.black, 0.28) }
        }
        RowLayout {
            width: parent.width
            CardText {
                Layout.fillWidth: true
                Layout.minimumWidth: 0
                text: root.engine.status
                font.pixelSize: IslandStyle.fontCaption
                font.weight: Font.Normal
                color: IslandPalette.textTertiary
                wrapMode: Text.WordWrap
                maximumLineCount: 2
            }
            Item { Layout.preferredWidth: 6 }
            IslandPressStyle {
                id: save
                enabled: !root.engine.running
                pressed: saveArea.pressed
                keys: true
                // Opened by a key, the menu hangs below the button.
                onActivated: menu.popup(save, 0, save.height)
                label: root.engine.running ? qsTr("Working") : qsTr("Save")
                implicitWidth: saveRow.implicitWidth + 16
                implicitHeight: saveRow.implicitHeight + 10
                Rectangle {
                    width: parent.width
                    height: parent.height
                    radius: height / 2
                    color: IslandPalette.faded(IslandPalette.black, 0.28)
                    Row {
                        id: saveRow
                        anchors.centerIn: parent
                        spacing: IslandStyle.spacingTiny
                        CardText { text: root.engine.running ? qsTr("Working") : qsTr("Save"); font.pixelSize: IslandStyle.fontFootnote; color: root.accent }
                        Symbol { anchors.verticalCenter: parent.verticalCenter; name: "chevron.down"; size: HomeText.chevronSize; color: root.accent }
                    }
                }
                MouseArea { id: saveArea; anchors.fill: parent; onClicked: menu.popup() }
                IslandMenu {
                    id: menu
                    objectName: "saveMenu"
                    MenuSeparator {}
                    MenuItem { text: qsTr("How it works"); onTriggered: root.home.openHelpPage() }
                    // The formats go in ahead of the divider once the menu
                    // holds its own items, however late the card is built.
                    Component.onCompleted: {
                        const formats = root.engine.formats
                        for (let i = 0; i < formats.length; ++i)
                            menu.insertItem(i, formatItem.createObject(root, { format: formats[i] }))
                    }
                }
                Component {
                    id: formatItem
                    MenuItem {
                        required property int format
                        text: root.engine.formatLabel(format)
                        onTriggered: root.engine.start(format)
                    }
                }
            }
        }
    }
}
