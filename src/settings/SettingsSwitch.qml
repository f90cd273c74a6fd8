import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// A switch with its title on the left, in the settings window's look.
Switch {
    id: root
    property color tint: IslandPalette.accent(IslandPalette.sky)
    property int fontSize: IslandStyle.fontCallout
    Layout.fillWidth: true
    spacing: IslandStyle.spacingMedium
    leftPadding: 0
    font.pixelSize: fontSize

    indicator: Rectangle {
        implicitWidth: IslandStyle.fontCallout * 3
        implicitHeight: IslandStyle.fontCallout + IslandStyle.spacingSmall
        x: root.width - width - root.rightPadding
        y: (root.height - height) / 2
        radius: height / 2
        color: root.checked ? root.tint : IslandPalette.fillStrong
        opacity: root.enabled ? 1 : IslandStyle.disabledOpacity
        Rectangle {
            width: parent.height - IslandStyle.spacingTiny
            height: width
            radius: width / 2
            y: IslandStyle.spacingHair
            x: root.checked ? parent.width - width - IslandStyle.spacingHair : IslandStyle.spacingHair
            color: IslandPalette.textPrimary
            Behavior on x { NumberAnimation { duration: SettingsMetrics.accentFadeMs } }
        }
        FocusRing {
            shown: root.visualFocus
        }
    }
    contentItem: Text {
        textFormat: Text.PlainText
        text: root.text
        font: root.font
        color: IslandPalette.textPrimary
        verticalAlignment: Text.AlignVCenter
        rightPadding: root.indicator.width + root.spacing
        wrapMode: Text.WordWrap
    }
}
