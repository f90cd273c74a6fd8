import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// Four quick actions and the last generated password.
ModuleCard {
    id: root
    required property NotchViewModel model
    title: qsTr("Quick actions")
    accent: IslandPalette.accent(IslandPalette.red)

    function run(index) {
        switch (index) {
        case 0: root.model.takeScreenshot(); break
        case 1: root.model.generatePasswordToClipboard(); break
        case 2: root.model.openShortcutApp("com.apple.finder"); break
        case 3: root.model.openShortcutApp("com.apple.Safari"); break
        }
    }

    Column {
        width: parent.width
        spacing: IslandStyle.spacingSmall
        GridLayout {
            width: parent.width
            columns: 2
            columnSpacing: IslandStyle.spacingSmall
            rowSpacing: IslandStyle.spacingSmall
            Repeater {
                model: HomeText.quickActions()
                IslandPressStyle {
                    id: tile
                    required property quickAction modelData
                    required property int index
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    implicitHeight: label.implicitHeight + 2 * IslandStyle.spacingSmall
                    pressed: area.pressed
                    keys: true
                    rimRadius: IslandStyle.radiusMedium
                    onActivated: root.run(index)
                    label: tile.modelData.title
                    Rectangle {
                        width: tile.width
                        height: tile.height
                        radius: IslandStyle.radiusMedium
                        color: IslandPalette.fillStrong
                        Row {
                            id: label
                            anchors.centerIn: parent
                            spacing: IslandStyle.spacingTiny
                            Symbol {
                                anchors.verticalCenter: parent.verticalCenter
                                name: tile.modelData.symbol
                                color: IslandPalette.textPrimary
                                size: IslandStyle.fontCaption
                            }
                            CardText {
                                text: tile.modelData.title
                                font.pixelSize: IslandStyle.fontCaption
                                font.weight: Font.Normal
                            }
                        }
                    }
                    MouseArea {
                        id: area
                        anchors.fill: parent
                        onClicked: root.run(tile.index)
                    }
                }
            }
        }
        CardText {
            visible: root.model.generatedPassword.length > 0
            digits: true
            text: root.model.generatedPassword
            font.pixelSize: IslandStyle.fontFootnote
            font.weight: Font.Normal
            color: IslandPalette.accent(IslandPalette.yellow)
        }
    }
}
