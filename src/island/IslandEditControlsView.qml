import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The editor's controls: the phase picker, the sliders of the phase bound to
// the settings, a reset, and for the hung island the preview chips.
Item {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    // Whether the floating pill's sliders show instead of the notch's.
    property bool showsFloatingPill: false
    // A slider's handle is held: the panel stays where it is until it is let
    // go, so that the handle keeps to the pointer.
    property bool holding: false
    signal done()

    readonly property bool expanded: model.islandEditPhase === Island.IslandEditPhase.expanded
    readonly property color yellow: IslandPalette.accent(IslandPalette.yellow)

    // A small capsule button.
    component SmallButton: Button {
        id: small
        property color fill: IslandPalette.faded(IslandPalette.white, 0.16)
        property color ink: IslandPalette.white
        implicitHeight: 22
        leftPadding: IslandStyle.spacingMedium
        rightPadding: IslandStyle.spacingMedium
        topPadding: 3
        bottomPadding: 3
        font.pixelSize: IslandStyle.fontFootnote
        contentItem: Text {
            textFormat: Text.PlainText
            text: small.text
            font: small.font
            color: small.ink
            opacity: small.enabled ? 1 : IslandStyle.disabledOpacity
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            radius: height / 2
            color: small.fill
            opacity: small.down ? 0.7 : 1
        }
    }

    component SliderRow: RowLayout {
        id: sliderRow
        property string label
        property string key
        property real from: 0
        property real to: 1
        readonly property real current: root.settings[key]
        function write(v) { root.settings[key] = Math.max(from, Math.min(to, v)) }

        Layout.fillWidth: true
        spacing: IslandStyle.spacing
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            Layout.preferredWidth: 48
            text: sliderRow.label
            font.pixelSize: IslandStyle.fontBody
            font.family: IslandStyle.roundedFamily
            font.weight: Font.DemiBold
            color: IslandPalette.white
        }
        Slider {
            id: slider
            Layout.fillWidth: true
            Layout.preferredHeight: 20
            from: sliderRow.from
            to: sliderRow.to
            stepSize: 1
            snapMode: Slider.SnapAlways
            onMoved: sliderRow.write(value)
            Accessible.name: sliderRow.label
            onPressedChanged: root.holding = pressed
            Binding on value { value: sliderRow.current; when: !slider.pressed }
            background: Rectangle {
                x: slider.leftPadding
                y: slider.topPadding + slider.availableHeight / 2 - height / 2
                width: slider.availableWidth
                height: IslandStyle.spacingTiny
                radius: height / 2
                color: IslandPalette.faded(IslandPalette.white, 0.16)
                Rectangle {
                    width: slider.visualPosition * parent.width
                    height: parent.height
                    radius: height / 2
                    color: root.yellow
                }
            }
            handle: Rectangle {
                x: slider.leftPadding + slider.visualPosition * (slider.availableWidth - width)
                y: slider.topPadding + slider.availableHeight / 2 - height / 2
                width: 14
                height: 14
                radius: width / 2
                color: slider.pressed ? Qt.darker(IslandPalette.white, 1.15) : IslandPalette.white
            }
        }
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            Layout.preferredWidth: 32
            horizontalAlignment: Text.AlignRight
            text: IslandViews.displayedValue(sliderRow.current)
            font.pixelSize: IslandStyle.fontBody
            font.family: IslandStyle.monoFamily
            color: IslandPalette.textSecondary
        }
        Row {
            spacing: IslandStyle.spacingHair
            Repeater {
                model: [-1, 1]
                SmallButton {
                    required property int modelData
                    width: 22
                    leftPadding: 0
                    rightPadding: 0
                    text: modelData < 0 ? "\u2212" : "+"
                    enabled: modelData < 0 ? sliderRow.current > sliderRow.from : sliderRow.current < sliderRow.to
                    onClicked: sliderRow.write(sliderRow.current + modelData)
                }
            }
        }
    }

    component Chip: SmallButton {
        property int preview
        readonly property bool chosen: root.model.islandEditPreview === preview
        fill: chosen ? root.yellow : IslandPalette.faded(IslandPalette.white, 0.16)
        ink: chosen ? IslandPalette.black : IslandPalette.white
        onClicked: root.model.islandEditPreview = preview
    }

    // The panel's shadow, in the margin around the card (seen where a
    // compositor runs).
    IslandShadow {
        anchors.fill: parent
        anchors.topMargin: 2
        blurRadius: 8
        cornerRadius: 16
        color: IslandPalette.black35
    }

    Rectangle {
        anchors.fill: parent
        anchors.margins: IslandStyle.spacing
        radius: IslandStyle.radiusPanel
        color: IslandPalette.faded(IslandPalette.black, 0.88)
        border.width: IslandStyle.strokeHair
        border.color: IslandPalette.faded(IslandPalette.white, 0.16)

        // Dragging the background moves the panel.
        MouseArea {
            anchors.fill: parent
            onPressed: if (root.Window.window) root.Window.window.startSystemMove()
        }

        ColumnLayout {
            objectName: "controlsStack"
            anchors.fill: parent
            anchors.margins: IslandStyle.spacingXLarge
            spacing: IslandStyle.spacingLarge

            RowLayout {
                Layout.fillWidth: true
                ColumnLayout {
                    spacing: IslandStyle.spacingHair
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: root.expanded ? qsTr("Expanded island") : qsTr("Notch")
                        font.pixelSize: IslandStyle.fontHeadline
                        font.family: IslandStyle.roundedFamily
                        font.weight: Font.DemiBold
                        color: IslandPalette.white
                    }
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: qsTr("Esc to finish")
                        font.pixelSize: IslandStyle.fontFootnote
                        font.weight: Font.Medium
                        color: IslandPalette.textSecondary
                    }
                }
                Item { Layout.fillWidth: true }
                SmallButton {
                    text: qsTr("Done")
                    font.pixelSize: IslandStyle.fontBody
                    font.weight: Font.DemiBold
                    fill: root.yellow
                    ink: IslandPalette.black
                    onClicked: root.done()
                }
            }

            RowLayout {
                Layout.fillWidth: true
                spacing: 0
                Repeater {
                    model: [Island.IslandEditPhase.hang, Island.IslandEditPhase.expanded]
                    SmallButton {
                        required property int modelData
                        readonly property bool chosen: root.model.islandEditPhase === modelData
                        Layout.fillWidth: true
                        text: IslandViews.phaseTitle(modelData)
                        font.pixelSize: IslandStyle.fontBody
                        fill: chosen ? IslandPalette.faded(IslandPalette.white, 0.28) : IslandPalette.fill
                        onClicked: root.model.islandEditPhase = modelData
                    }
                }
            }

            // The open island.
            ColumnLayout {
                visible: root.expanded
                Layout.fillWidth: true
                spacing: IslandStyle.spacingLarge
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    Layout.fillWidth: true
                    wrapMode: Text.WordWrap
                    text: qsTr("Nudge home. Y only moves down, never above the notch.")
                    font.pixelSize: IslandStyle.fontFootnote
                    color: IslandPalette.textSecondary
                }
                Repeater {
                    model: IslandViews.editSliders(Island.IslandEditPhase.expanded, false)
                    SliderRow {
                        required property editSlider modelData
                        label: modelData.label
                        key: modelData.key
                        from: modelData.from
                        to: modelData.to
                    }
                }
                SmallButton {
                    text: qsTr("Reset expanded")
                    onClicked: IslandViews.resetExpanded(root.settings)
                }
            }

            // The hung island or the floating pill.
            ColumnLayout {
                visible: !root.expanded
                Layout.fillWidth: true
                spacing: IslandStyle.spacingLarge
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    Layout.fillWidth: true
                    wrapMode: Text.WordWrap
                    text: root.showsFloatingPill
                          ? qsTr("Nudge the floating pill. Y only moves down.")
                          : qsTr("Drop is how far the lip sits below the camera. Sides and round follow the camera.")
                    font.pixelSize: IslandStyle.fontFootnote
                    color: IslandPalette.textSecondary
                }
                Repeater {
                    model: IslandViews.editSliders(Island.IslandEditPhase.hang, root.showsFloatingPill)
                    SliderRow {
                        required property editSlider modelData
                        label: modelData.label
                        key: modelData.key
                        from: modelData.from
                        to: modelData.to
                    }
                }
                SmallButton {
                    text: qsTr("Reset notch")
                    onClicked: {
                        IslandViews.resetNotch(root.settings)
                        root.model.islandEditPreview = Island.IslandEditPreview.idle
                    }
                }
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    Layout.topMargin: IslandStyle.spacingHair
                    text: qsTr("Preview")
                    font.pixelSize: IslandStyle.fontFootnote
                    font.family: IslandStyle.roundedFamily
                    font.weight: Font.DemiBold
                    color: IslandPalette.textSecondary
                }
                RowLayout {
                    spacing: IslandStyle.spacingSmall
                    Chip { text: qsTr("Idle"); preview: Island.IslandEditPreview.idle }
                    Chip { text: qsTr("Player"); preview: Island.IslandEditPreview.player }
                    Chip { text: qsTr("Timer"); preview: Island.IslandEditPreview.timer }
                    Chip { text: qsTr("Ambient"); preview: Island.IslandEditPreview.ambient }
                }
            }
            Item { Layout.fillHeight: true }
        }
    }
}
