import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// Converts one typed number both ways between two units. Its state lives
// only while it is shown: it starts at 32 in temperatures every time.
Rectangle {
    id: root
    property string value: "32"
    property int mode: 0
    readonly property color amber: IslandPalette.accent(IslandPalette.amber)

    implicitHeight: column.implicitHeight + 2 * IslandStyle.spacingMedium
    radius: IslandStyle.radiusCard
    color: IslandPalette.fill

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: IslandStyle.spacingMedium
        spacing: IslandStyle.spacing
        Row {
            spacing: IslandStyle.spacingSmall
            Repeater {
                model: ToolViews.convertModes()
                IslandPressStyle {
                    required property convertMode modelData
                    pressed: chipArea.pressed
                    label: modelData.caption
                    onActivated: root.mode = modelData.mode
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: modelData.caption
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontCaption
                        color: root.mode === modelData.mode ? root.amber : IslandPalette.textSecondary
                    }
                    MouseArea {
                        id: chipArea
                        anchors.fill: parent
                        onClicked: root.mode = modelData.mode
                    }
                }
            }
        }
        TextInput {
            objectName: "convertValue"
            Accessible.role: Accessible.EditableText
            Accessible.name: qsTr("Value")
            Layout.fillWidth: true
            text: root.value
            onTextEdited: root.value = text
            font.family: IslandStyle.digitsFamily
            font.pixelSize: IslandStyle.fontTitle2
            font.weight: Font.DemiBold
            color: IslandPalette.textPrimary
            selectByMouse: true
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                visible: parent.text.length === 0
                text: qsTr("Value")
                font: parent.font
                color: IslandPalette.textTertiary
            }
        }
        Text {
            objectName: "convertLine"
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            Layout.fillWidth: true
            // A long number breaks where it must rather than run past the edge.
            wrapMode: Text.WrapAtWordBoundaryOrAnywhere
            text: ToolViews.convertLine(root.mode, root.value)
            font.family: IslandStyle.digitsFamily
            font.pixelSize: IslandStyle.fontBody
            font.weight: Font.Medium
            color: ToolViews.convertInRange(root.mode, root.value) ? root.amber
                                                                   : IslandPalette.accent(IslandPalette.coral)
        }
    }
}
