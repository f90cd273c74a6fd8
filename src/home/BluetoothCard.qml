import QtQuick
import Pavlet
import Pavlet.Style

// The connected Bluetooth devices.
ModuleCard {
    id: root
    required property NotchViewModel model
    readonly property color blue: IslandPalette.accent(IslandPalette.blue)
    title: qsTr("Bluetooth")
    accent: blue

    Column {
        width: parent.width
        spacing: HomeText.listSpacing
        CardText {
            visible: root.model.bluetoothDevices.length === 0
            text: qsTr("No devices connected")
            color: IslandPalette.textSecondary
        }
        Repeater {
            model: root.model.bluetoothDevices
            Row {
                required property bluetoothDeviceInfo modelData
                spacing: IslandStyle.spacing
                Rectangle { anchors.verticalCenter: parent.verticalCenter; width: HomeText.dotSize; height: width; radius: width / 2; color: root.blue }
                CardText { text: modelData.name }
            }
        }
    }
}
