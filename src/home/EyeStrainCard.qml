import QtQuick
import QtQuick.Controls.Basic as Basic
import Pavlet
import Pavlet.Style

// The 20-20-20 reminder: its switch, its status and the "looked away" button.
ModuleCard {
    id: root
    required property EyeStrainGuard strain
    required property AppSettings settings
    readonly property bool alert: HomeText.eyeStrainAlert(strain.warning, strain.tooClose)
    title: qsTr("Eyes")
    accent: IslandPalette.accent(IslandPalette.coral)

    Column {
        width: parent.width
        spacing: IslandStyle.spacing
        Row {
            spacing: IslandStyle.spacing
            // The island's own switch: a capsule in the card's colour when
            // on, a faint one when off, with a white knob.
            Basic.Switch {
                id: toggle
                anchors.verticalCenter: parent.verticalCenter
                padding: 0
                checked: root.settings.eyeStrainGuard
                onToggled: root.settings.eyeStrainGuard = checked
                Accessible.name: qsTr("Watch for eye strain")
                // Space flips it as a click does, and so do Enter and Return.
                Keys.onReturnPressed: root.settings.eyeStrainGuard = !root.settings.eyeStrainGuard
                Keys.onEnterPressed: root.settings.eyeStrainGuard = !root.settings.eyeStrainGuard
                indicator: Rectangle {
                    implicitWidth: IslandStyle.fontCallout * 3
                    implicitHeight: IslandStyle.fontCallout + IslandStyle.spacingSmall
                    radius: height / 2
                    color: toggle.checked ? root.accent : IslandPalette.fillStrong
                    // Reached by Tab: a rim shows it has the keyboard.
                    border.width: toggle.visualFocus ? IslandStyle.stroke : 0
                    border.color: IslandPalette.textPrimary
                    Rectangle {
                        width: parent.height - IslandStyle.spacingTiny
                        height: width
                        radius: width / 2
                        y: IslandStyle.spacingHair
                        x: toggle.checked ? parent.width - width - IslandStyle.spacingHair : IslandStyle.spacingHair
                        color: IslandPalette.textPrimary
                        Behavior on x { SpringAnimation { spring: IslandStyle.quickSpring.spring; damping: IslandStyle.quickSpring.damping; epsilon: 0.25 } }
                    }
                }
            }
            CardText {
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Watch for eye strain")
                MouseArea { anchors.fill: parent; onClicked: root.settings.eyeStrainGuard = !root.settings.eyeStrainGuard }
            }
        }
        CardText {
            visible: root.settings.eyeStrainGuard
            text: HomeText.eyeStrainStatus(root.strain.warning, root.strain.tooClose, root.strain.minutesUntilBreak)
            font.pixelSize: IslandStyle.fontFootnote
            font.weight: Font.Normal
            color: root.alert ? IslandPalette.accent(IslandPalette.coral)
                              : IslandPalette.textSecondary
        }
        IslandPressStyle {
            visible: root.settings.eyeStrainGuard && root.strain.warning
            pressed: looked.pressed
            keys: true
            onActivated: root.strain.reset()
            label: qsTr("I looked away")
            CardText {
                text: qsTr("I looked away")
                font.pixelSize: IslandStyle.fontFootnote
                color: IslandPalette.accent(IslandPalette.yellow)
            }
            MouseArea { id: looked; anchors.fill: parent; onClicked: root.strain.reset() }
        }
    }
}
