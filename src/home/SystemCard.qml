import QtQuick
import QtQuick.Layouts
import Pavlet

// CPU, memory, disk and uptime, each as a meter the options keep.
ModuleCard {
    id: root
    required property var snapshot
    required property AppSettings settings
    readonly property var meters: HomeText.systemMeters(snapshot, settings.systemShowCPU, settings.systemShowMemory,
                                                         settings.systemShowDisk, settings.systemShowUptime)
    title: qsTr("System")
    accent: IslandPalette.accent(IslandPalette.yellow, IslandPalette.accentRevision)

    RowLayout {
        width: parent.width
        spacing: 0
        CardText {
            visible: root.meters.length === 0
            text: qsTr("All meters hidden")
            color: IslandPalette.textSecondary
        }
        Repeater {
            model: root.meters
            Column {
                required property var modelData
                Layout.fillWidth: true
                Layout.preferredWidth: 1
                spacing: IslandStyle.spacingHair
                CardText {
                    text: modelData.label
                    font.pixelSize: IslandStyle.fontMicro
                    font.weight: Font.Normal
                    color: IslandPalette.accent(modelData.color, IslandPalette.accentRevision)
                }
                CardText {
                    width: parent.width
                    digits: true
                    text: modelData.value
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: Math.round(IslandStyle.fontBody * 0.8)
                }
            }
        }
    }
}
