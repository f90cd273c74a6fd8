import QtQuick
import Pavlet

// CPU, memory, disk and uptime, each as a meter the options keep.
ModuleCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    readonly property int meterCount: HomeText.systemMeterCount(settings.systemShowCPU, settings.systemShowMemory,
                                                                settings.systemShowDisk, settings.systemShowUptime)
    title: qsTr("System")
    accent: IslandPalette.accent(IslandPalette.yellow, IslandPalette.accentRevision)

    // A Row of equal cells; the cells stay while the readings change.
    Row {
        width: parent.width
        CardText {
            visible: root.meterCount === 0
            text: qsTr("All meters hidden")
            color: IslandPalette.textSecondary
        }
        Repeater {
            model: root.meterCount
            Column {
                id: meter
                required property int index
                readonly property systemMeter reading: HomeText.systemMeter(root.model.system, root.settings.systemShowCPU,
                                                                            root.settings.systemShowMemory,
                                                                            root.settings.systemShowDisk,
                                                                            root.settings.systemShowUptime, index)
                width: parent.width / Math.max(root.meterCount, 1)
                spacing: IslandStyle.spacingHair
                CardText {
                    text: meter.reading.label
                    font.pixelSize: IslandStyle.fontMicro
                    font.weight: Font.Normal
                    color: IslandPalette.accent(meter.reading.color, IslandPalette.accentRevision)
                }
                CardText {
                    width: parent.width - IslandStyle.spacingTiny
                    digits: true
                    text: meter.reading.value
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: Math.round(IslandStyle.fontBody * 0.8)
                }
            }
        }
    }
}
