import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Pavlet
import Pavlet.Style

// Picks the accent colour: a saturation and brightness plane for the hue of
// the strip beside it, the colour as picked, Cancel and OK. Drawn from plain
// gradients inside the settings window, so it looks the same whichever
// renderer draws the window. Each opening starts from the stored colour.
Popup {
    id: root
    // The colour the dialog starts from on each opening.
    property color storedColor
    // The colour as picked so far.
    readonly property color selectedColor: Qt.hsva(hue, saturation, value, 1)
    property real hue: 0
    property real saturation: 0
    property real value: 0
    signal accepted()

    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    anchors.centerIn: T.Overlay.overlay
    padding: IslandStyle.spacingXLarge

    onAboutToShow: {
        hue = Math.max(0, storedColor.hsvHue)
        saturation = storedColor.hsvSaturation
        value = storedColor.hsvValue
    }

    // Sets the colour as picked (OK then stores it).
    function pick(c) {
        hue = Math.max(0, c.hsvHue)
        saturation = c.hsvSaturation
        value = c.hsvValue
    }
    function accept() {
        accepted()
        close()
    }
    function reject() {
        close()
    }

    background: Rectangle {
        radius: IslandStyle.radiusCard
        color: IslandPalette.windowBackground
        border.width: IslandStyle.strokeHair
        border.color: IslandPalette.fillStrong
    }

    contentItem: ColumnLayout {
        spacing: IslandStyle.spacingLarge
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: "Accent"
            color: IslandPalette.textPrimary
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontHeadline
            font.weight: Font.DemiBold
        }
        RowLayout {
            spacing: IslandStyle.spacingLarge
            // White to the pure hue from left to right, then darkened to
            // black from top to bottom.
            Rectangle {
                id: plane
                objectName: "accentPlane"
                implicitWidth: SettingsMetrics.colourPlaneWidth
                implicitHeight: SettingsMetrics.colourPlaneHeight
                radius: IslandStyle.radiusTiny
                gradient: Gradient {
                    orientation: Gradient.Horizontal
                    GradientStop { position: 0; color: IslandPalette.white }
                    GradientStop { position: 1; color: Qt.hsva(root.hue, 1, 1, 1) }
                }
                Rectangle {
                    anchors.fill: parent
                    radius: parent.radius
                    gradient: Gradient {
                        GradientStop { position: 0; color: IslandPalette.clear }
                        GradientStop { position: 1; color: IslandPalette.black }
                    }
                }
                Rectangle {
                    objectName: "accentPlaneMark"
                    width: SettingsMetrics.colourMarkSize
                    height: width
                    radius: width / 2
                    x: root.saturation * plane.width - width / 2
                    y: (1 - root.value) * plane.height - height / 2
                    color: root.selectedColor
                    border.width: IslandStyle.stroke
                    border.color: IslandPalette.white
                }
                MouseArea {
                    anchors.fill: parent
                    function follow(mouse) {
                        root.saturation = Math.min(1, Math.max(0, mouse.x / width))
                        root.value = 1 - Math.min(1, Math.max(0, mouse.y / height))
                    }
                    onPressed: mouse => follow(mouse)
                    onPositionChanged: mouse => follow(mouse)
                }
            }
            Rectangle {
                id: strip
                objectName: "accentHue"
                implicitWidth: SettingsMetrics.hueStripWidth
                implicitHeight: SettingsMetrics.colourPlaneHeight
                radius: IslandStyle.radiusTiny
                gradient: Gradient {
                    GradientStop { position: 0 / 6; color: Qt.hsva(0 / 6, 1, 1, 1) }
                    GradientStop { position: 1 / 6; color: Qt.hsva(1 / 6, 1, 1, 1) }
                    GradientStop { position: 2 / 6; color: Qt.hsva(2 / 6, 1, 1, 1) }
                    GradientStop { position: 3 / 6; color: Qt.hsva(3 / 6, 1, 1, 1) }
                    GradientStop { position: 4 / 6; color: Qt.hsva(4 / 6, 1, 1, 1) }
                    GradientStop { position: 5 / 6; color: Qt.hsva(5 / 6, 1, 1, 1) }
                    GradientStop { position: 6 / 6; color: Qt.hsva(0, 1, 1, 1) }
                }
                Rectangle {
                    width: parent.width + 2 * IslandStyle.spacingHair
                    x: -IslandStyle.spacingHair
                    height: IslandStyle.spacingTiny
                    y: root.hue * strip.height - height / 2
                    radius: height / 2
                    color: IslandPalette.clear
                    border.width: IslandStyle.stroke
                    border.color: IslandPalette.white
                }
                MouseArea {
                    anchors.fill: parent
                    function follow(mouse) {
                        root.hue = Math.min(1, Math.max(0, mouse.y / height)) % 1
                    }
                    onPressed: mouse => follow(mouse)
                    onPositionChanged: mouse => follow(mouse)
                }
            }
        }
        RowLayout {
            Layout.fillWidth: true
            spacing: IslandStyle.spacingLarge
            Rectangle {
                objectName: "accentPreview"
                implicitWidth: IslandStyle.fontCallout * 3
                implicitHeight: IslandStyle.fontCallout + IslandStyle.spacingSmall
                radius: IslandStyle.radiusTiny
                color: root.selectedColor
                border.width: IslandStyle.strokeHair
                border.color: IslandPalette.textTertiary
            }
            Item { Layout.fillWidth: true }
            SettingsButton {
                objectName: "accentCancel"
                text: "Cancel"
                onClicked: root.reject()
            }
            SettingsButton {
                objectName: "accentOk"
                prominent: true
                text: "OK"
                onClicked: root.accept()
            }
        }
    }
}
