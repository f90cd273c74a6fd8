import QtQuick
import QtQuick.Layouts
import Qt5Compat.GraphicalEffects
import Pavlet

// The front camera in the island, with a status line and a Close button.
Item {
    id: root
    property var model
    readonly property var camera: model ? model.camera : null
    readonly property var label: IslandViews.mirrorLabel(camera ? camera.faceTooClose : false,
                                                         model && model.settings ? model.settings.eyeStrainGuard : false,
                                                         camera ? camera.denied : false)

    ColumnLayout {
        anchors.fill: parent
        spacing: 8

        Item {
            id: frame
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.minimumHeight: 160

            Rectangle {
                id: corners
                anchors.fill: parent
                radius: 16
                visible: false
            }
            Rectangle {
                anchors.fill: parent
                color: "black"
                radius: 16
            }
            CameraPreview {
                id: preview
                anchors.fill: parent
                camera: root.camera
                layer.enabled: GraphicsInfo.api !== GraphicsInfo.Software
                layer.effect: OpacityMask { maskSource: corners }
            }
            Rectangle {
                anchors.fill: parent
                radius: 16
                color: "transparent"
                border.width: 1
                readonly property color mint: IslandPalette.accent(IslandPalette.mint, IslandPalette.accentRevision)
                border.color: Qt.rgba(mint.r, mint.g, mint.b, 0.35)
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Text {
                text: root.label.text
                font.pixelSize: 11
                color: IslandPalette.accent(IslandPalette[root.label.colorName], IslandPalette.accentRevision)
            }
            Item { Layout.fillWidth: true }
            Text {
                id: close
                text: qsTr("Close")
                font.pixelSize: 11
                font.weight: Font.Medium
                color: IslandPalette.textPrimary
                scale: closeArea.pressed ? 0.96 : 1
                opacity: closeArea.pressed ? 0.86 : 1
                MouseArea {
                    id: closeArea
                    anchors.fill: parent
                    anchors.margins: -4
                    onClicked: if (root.model) root.model.collapse()
                }
            }
        }
    }
}
