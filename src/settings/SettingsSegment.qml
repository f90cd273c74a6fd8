import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// A row of mutually exclusive choices, one of them selected.
Rectangle {
    id: root
    required property list<string> labels
    required property int selected
    signal picked(int index)
    implicitWidth: row.implicitWidth + 2 * IslandStyle.spacingHair
    implicitHeight: row.implicitHeight + 2 * IslandStyle.spacingHair
    radius: IslandStyle.radiusSmall
    color: IslandPalette.fill
    activeFocusOnTab: true
    Keys.onLeftPressed: if (selected > 0) picked(selected - 1)
    Keys.onRightPressed: if (selected < labels.length - 1) picked(selected + 1)
    FocusRing {
        shown: root.activeFocus
    }

    RowLayout {
        id: row
        anchors.centerIn: parent
        spacing: 0
        Repeater {
            model: root.labels
            delegate: Rectangle {
                id: segment
                required property string modelData
                required property int index
                implicitWidth: label.implicitWidth + 2 * IslandStyle.spacingLarge
                implicitHeight: label.implicitHeight + 2 * IslandStyle.spacingTiny
                radius: IslandStyle.radiusTiny
                color: root.selected === index ? IslandPalette.fillStrong : IslandPalette.clear
                Accessible.role: Accessible.RadioButton
                Accessible.name: modelData
                Accessible.checkable: true
                Accessible.checked: root.selected === index
                Accessible.onPressAction: root.picked(segment.index)
                Text {
                    id: label
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    anchors.centerIn: parent
                    text: segment.modelData
                    color: IslandPalette.textPrimary
                    font.pixelSize: IslandStyle.fontCallout
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: root.picked(segment.index)
                }
            }
        }
    }
}
