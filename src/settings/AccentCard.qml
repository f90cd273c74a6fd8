import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The custom accent switch and, while it is on, the colour and its note.
SettingsCardBox {
    id: root
    required property AppSettings settings

    SettingsSwitch {
        objectName: "useCustomAccent"
        text: "Custom accent colors"
        checked: root.settings.useCustomAccent
        onToggled: root.settings.useCustomAccent = checked
    }
    RowLayout {
        visible: root.settings.useCustomAccent
        Layout.fillWidth: true
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            Layout.fillWidth: true
            text: "Accent"
            color: IslandPalette.textPrimary
            font.pixelSize: IslandStyle.fontCallout
        }
        Rectangle {
            objectName: "accentWell"
            implicitWidth: IslandStyle.fontCallout * 3
            implicitHeight: IslandStyle.fontCallout + IslandStyle.spacingSmall
            radius: IslandStyle.radiusTiny
            color: root.settings.customAccent
            border.width: IslandStyle.strokeHair
            border.color: IslandPalette.textTertiary
            MouseArea {
                anchors.fill: parent
                onClicked: picker.open()
            }
            activeFocusOnTab: true
            Keys.onSpacePressed: picker.open()
            Keys.onReturnPressed: picker.open()
            Accessible.role: Accessible.Button
            Accessible.name: qsTr("Accent color")
            Accessible.onPressAction: picker.open()
            FocusRing {
                shown: parent.activeFocus
            }
        }
    }
    Text {
        textFormat: Text.PlainText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        visible: root.settings.useCustomAccent
        Layout.fillWidth: true
        text: "Icons and colored elements in Pavlet use this instead of the default theme colors."
        color: IslandPalette.textSecondary
        font.pixelSize: IslandStyle.fontBody
        wrapMode: Text.WordWrap
    }
    AccentColorDialog {
        id: picker
        objectName: "accentDialog"
        storedColor: root.settings.customAccent
        onAccepted: root.settings.customAccent = selectedColor
    }
}
