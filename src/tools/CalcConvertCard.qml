import QtQuick
import QtQuick.Controls
import Pavlet

// Converts one typed number both ways between two units.
Rectangle {
    id: root
    property string value: "32"
    property int mode: 0
    readonly property color amber: IslandPalette.accent(IslandPalette.amber, IslandPalette.accentRevision)
    implicitHeight: column.implicitHeight + 20
    radius: IslandStyle.radiusCard
    color: IslandPalette.fill

    Column {
        id: column
        x: 10
        y: 10
        width: root.width - 20
        spacing: IslandStyle.spacing
        Row {
            spacing: IslandStyle.spacingSmall
            Repeater {
                model: UnitConvert.convertModes()
                IslandPressStyle {
                    required property string modelData
                    required property int index
                    implicitWidth: chip.implicitWidth
                    implicitHeight: chip.implicitHeight
                    pressed: chipArea.pressed
                    CardText {
                        id: chip
                        text: parent.modelData
                        font.pixelSize: IslandStyle.fontCaption
                        font.weight: Font.Normal
                        color: root.mode === parent.index ? root.amber : IslandPalette.textSecondary
                    }
                    MouseArea { id: chipArea; anchors.fill: parent; onClicked: root.mode = parent.index }
                }
            }
        }
        TextField {
            width: parent.width
            padding: 0
            background: null
            placeholderText: qsTr("Value")
            placeholderTextColor: IslandPalette.textTertiary
            font.family: IslandStyle.digitsFamily
            font.pixelSize: IslandStyle.fontTitle2
            font.weight: Font.DemiBold
            color: IslandPalette.textPrimary
            text: root.value
            onTextEdited: root.value = text
        }
        CardText {
            width: parent.width
            digits: true
            text: UnitConvert.conversionLine(root.value, root.mode)
            color: root.amber
        }
    }
}
