import QtQuick
import QtQuick.Controls.Basic
import Pavlet
import Pavlet.Style

// A bordered button of the settings window; prominent ones are filled with
// their tint and carry dark text.
Button {
    id: root
    property bool prominent: false
    // Secondary text colour, for quiet choices such as "Later".
    property bool secondary: false
    property color tint: IslandPalette.accent(IslandPalette.yellow)
    property int fontSize: IslandStyle.fontCallout
    property int horizontalInset: IslandStyle.spacingLarge
    property int verticalInset: IslandStyle.spacingSmall
    // A symbol before the title (none when empty).
    property string symbol: ""
    leftPadding: horizontalInset
    rightPadding: horizontalInset
    topPadding: verticalInset
    bottomPadding: verticalInset
    font.pixelSize: fontSize
    font.family: IslandStyle.roundedFamily
    font.weight: Font.DemiBold
    opacity: enabled ? 1 : IslandStyle.disabledOpacity
    // Return and Enter press a focused button as Space does.
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()

    contentItem: Item {
        implicitWidth: label.implicitWidth + (mark.visible ? mark.implicitWidth + IslandStyle.spacingSmall : 0)
        implicitHeight: label.implicitHeight
        Row {
            anchors.centerIn: parent
            spacing: IslandStyle.spacingSmall
            SettingsSymbol {
                id: mark
                anchors.verticalCenter: parent.verticalCenter
                visible: root.symbol.length > 0
                name: root.symbol
                size: root.fontSize
                color: label.color
            }
            Text {
                id: label
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                width: Math.min(implicitWidth, root.availableWidth - (mark.visible ? mark.width + parent.spacing : 0))
                text: root.text
                font: root.font
                color: root.prominent ? IslandPalette.onAccent
                                      : root.secondary ? IslandPalette.textSecondary : IslandPalette.textPrimary
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideRight
            }
        }
    }
    background: Rectangle {
        radius: height / 2
        color: root.prominent ? root.tint : (root.down ? IslandPalette.fillStrong : IslandPalette.fill)
        border.width: root.prominent ? 0 : IslandStyle.strokeHair
        border.color: IslandPalette.fillStrong
        FocusRing {
            shown: root.visualFocus
        }
    }
}
