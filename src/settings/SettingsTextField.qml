import QtQuick
import QtQuick.Controls.Basic
import Pavlet
import Pavlet.Style

// A text field with a rounded border, in the settings window's look.
TextField {
    id: root
    font.pixelSize: IslandStyle.fontCallout
    color: IslandPalette.textPrimary
    placeholderTextColor: IslandPalette.textTertiary
    selectionColor: IslandPalette.accent(IslandPalette.sky)
    leftPadding: IslandStyle.spacing
    rightPadding: IslandStyle.spacing
    topPadding: IslandStyle.spacingSmall
    bottomPadding: IslandStyle.spacingSmall
    background: Rectangle {
        radius: IslandStyle.radiusSmall
        color: IslandPalette.fill
        border.width: IslandStyle.strokeHair
        border.color: root.activeFocus ? IslandPalette.textTertiary : IslandPalette.fillStrong
        FocusRing {
            shown: root.activeFocus
        }
    }
}
