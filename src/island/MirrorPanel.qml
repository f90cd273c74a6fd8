import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The front camera in the island, with a status line and a Close button.
Item {
    id: root
    required property NotchViewModel model
    required property AppSettings settings

    readonly property mirrorLabel label: model.look.mirror

    ColumnLayout {
        anchors.fill: parent
        spacing: IslandStyle.spacing

        Item {
            id: frame
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.minimumHeight: 160

            Rectangle {
                anchors.fill: parent
                color: IslandPalette.black
                radius: IslandStyle.radiusPanel
            }
            CameraPreview {
                id: preview
                anchors.fill: parent
                camera: root.model.camera
            }
            CornerCut {
                anchors.fill: parent
                cornerRadius: IslandStyle.radiusPanel
            }
            Rectangle {
                anchors.fill: parent
                radius: IslandStyle.radiusPanel
                color: IslandPalette.clear
                border.width: IslandStyle.strokeHair
                readonly property color mint: IslandPalette.accent(IslandPalette.mint)
                border.color: IslandPalette.faded(mint, 0.35)
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Text {
                objectName: "mirrorStatus"
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                text: root.label.text
                font.pixelSize: IslandStyle.fontFootnote
                font.family: IslandStyle.roundedFamily
                color: IslandPalette.accent(root.label.color)
            }
            Item { Layout.fillWidth: true }
            IslandPressStyle {
                objectName: "mirrorClose"
                pressed: closeArea.pressed
                label: closeLabel.text
                onActivated: root.model.collapse()
                implicitWidth: closeLabel.implicitWidth
                implicitHeight: closeLabel.implicitHeight
                Text {
                    id: closeLabel
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: qsTr("Close")
                    font.pixelSize: IslandStyle.fontFootnote
                    font.family: IslandStyle.roundedFamily
                    font.weight: Font.Medium
                    color: IslandPalette.textPrimary
                }
                MouseArea {
                    id: closeArea
                    anchors.fill: parent
                    anchors.margins: -IslandStyle.spacingTiny
                    onClicked: root.model.collapse()
                }
            }
        }
    }
}
