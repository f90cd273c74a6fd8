import QtQuick
import QtQuick.Controls.Basic
import Pavlet

// A bordered button of the settings window; prominent ones are filled with
// their tint and carry dark text.
Button {
    id: root
    property bool prominent: false
    property color tint: IslandPalette.accent(IslandPalette.gold, IslandPalette.accentRevision)
    property int fontSize: IslandStyle.fontCallout
    property int horizontalInset: IslandStyle.spacingLarge
    property int verticalInset: IslandStyle.spacingSmall
    leftPadding: horizontalInset
    rightPadding: horizontalInset
    topPadding: verticalInset
    bottomPadding: verticalInset
    font.pixelSize: fontSize
    font.family: IslandStyle.roundedFamily
    font.weight: Font.DemiBold
    opacity: enabled ? 1 : IslandStyle.disabledOpacity

    contentItem: Text {
        text: root.text
        font: root.font
        color: root.prominent ? IslandPalette.inkOnAccent : IslandPalette.textPrimary
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    background: Rectangle {
        radius: height / 2
        color: root.prominent ? root.tint : (root.down ? IslandPalette.fillStrong : IslandPalette.fill)
        border.width: root.prominent ? 0 : IslandStyle.strokeHair
        border.color: IslandPalette.fillStrong
    }
}
