import QtQuick
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

    // A Row of equal cells; the cells stay while the readings change.
    Row {
        width: parent.width
        CardText {
            visible: root.meters.length === 0
            text: qsTr("All meters hidden")
            color: IslandPalette.textSecondary
        }
        Repeater {
            model: root.meters.length
            Column {
                id: meter
                required property int index
                readonly property var reading: root.meters[index]
                width: parent.width / Math.max(root.meters.length, 1)
                spacing: IslandStyle.spacingHair
                CardText {
                    text: meter.reading ? meter.reading.label : ""
                    font.pixelSize: IslandStyle.fontMicro
                    font.weight: Font.Normal
                    color: meter.reading ? IslandPalette.accent(meter.reading.color, IslandPalette.accentRevision) : "transparent"
                }
                CardText {
                    width: parent.width - IslandStyle.spacingTiny
                    digits: true
                    text: meter.reading ? meter.reading.value : ""
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: Math.round(IslandStyle.fontBody * 0.8)
                }
            }
        }
    }
}
