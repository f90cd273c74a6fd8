import QtQuick
import Pavlet
import Pavlet.Style

// CPU, memory, disk and uptime, each as a meter the options keep.
ModuleCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    readonly property int meterCount: HomeText.systemMeterCount(settings.systemShowCPU, settings.systemShowMemory,
                                                                settings.systemShowDisk, settings.systemShowUptime)
    title: qsTr("System")
    accent: IslandPalette.accent(IslandPalette.yellow)

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
                    color: IslandPalette.accent(meter.reading.color)
                }
                // A long value shrinks, down to 80 % of its size, before it
                // is cut; whole pixel sizes would stop at 10 instead of 9.6.
                Item {
                    width: parent.width - IslandStyle.spacingTiny
                    height: value.height * value.scale
                    CardText {
                        id: value
                        readonly property real fit: Math.max(0.8, Math.min(1, parent.width / Math.max(1, implicitWidth)))
                        width: parent.width / fit
                        scale: fit
                        transformOrigin: Item.TopLeft
                        digits: true
                        // From the column's left edge whatever the text's
                        // direction: a right-to-left reading would otherwise
                        // sit against the next column.
                        horizontalAlignment: Text.AlignLeft
                        text: meter.reading.value
                    }
                }
            }
        }
    }
}
