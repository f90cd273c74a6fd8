import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet

// The editor's controls: the phase picker, the sliders of the phase bound to
// the settings, a reset, and for the hung island the preview chips.
Item {
    id: root
    property var model
    property var settings
    // Whether the floating pill's sliders show instead of the notch's.
    property bool showsFloatingPill: false
    signal done()

    readonly property bool expanded: model ? model.islandEditPhase === Island.IslandEditPhase.expanded : false
    readonly property color yellow: IslandPalette.accent(IslandPalette.yellow, IslandPalette.accentRevision)

    // A small capsule button.
    component SmallButton: Button {
        id: small
        property color fill: Qt.rgba(1, 1, 1, 0.16)
        property color ink: "white"
        implicitHeight: 22
        leftPadding: 10
        rightPadding: 10
        topPadding: 3
        bottomPadding: 3
        font.pixelSize: 11
        contentItem: Text {
            text: small.text
            font: small.font
            color: small.ink
            opacity: small.enabled ? 1 : 0.4
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
        readonly property real current: root.settings ? root.settings[key] : 0
        function write(v) { if (root.settings) root.settings[key] = Math.max(from, Math.min(to, v)) }

        Layout.fillWidth: true
        spacing: 8
        Text {
            Layout.preferredWidth: 48
            text: sliderRow.label
            font.pixelSize: 12
            font.weight: Font.DemiBold
            color: "white"
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
            Binding on value { value: sliderRow.current; when: !slider.pressed }
            background: Rectangle {
                x: slider.leftPadding
                y: slider.topPadding + slider.availableHeight / 2 - height / 2
                width: slider.availableWidth
                height: 4
                radius: 2
                color: Qt.rgba(1, 1, 1, 0.16)
                Rectangle {
                    width: slider.visualPosition * parent.width
                    height: parent.height
                    radius: 2
                    color: root.yellow
                }
            }
            handle: Rectangle {
                x: slider.leftPadding + slider.visualPosition * (slider.availableWidth - width)
                y: slider.topPadding + slider.availableHeight / 2 - height / 2
                width: 14
                height: 14
                radius: 7
                color: slider.pressed ? "#dddddd" : "white"
            }
        }
        Text {
            Layout.preferredWidth: 32
            horizontalAlignment: Text.AlignRight
            text: IslandViews.displayedValue(sliderRow.current)
            font.pixelSize: 12
            font.family: "monospace"
            color: IslandPalette.textSecondary
        }
        Row {
            spacing: 2
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
        readonly property bool chosen: root.model ? root.model.islandEditPreview === preview : false
        fill: chosen ? root.yellow : Qt.rgba(1, 1, 1, 0.16)
        ink: chosen ? "black" : "white"
        onClicked: if (root.model) root.model.islandEditPreview = preview
    }

    // The panel's shadow, in the margin around the card (seen where a
    // compositor runs).
    IslandShadow {
        anchors.fill: parent
        anchors.topMargin: 2
        blurRadius: 8
        cornerRadius: 16
        color: Qt.rgba(0, 0, 0, 0.35)
    }

    Rectangle {
        anchors.fill: parent
        anchors.margins: 8
        radius: 16
        color: Qt.rgba(0, 0, 0, 0.88)
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, 0.16)

        // Dragging the background moves the panel.
        MouseArea {
            anchors.fill: parent
            onPressed: if (root.Window.window) root.Window.window.startSystemMove()
        }

        ColumnLayout {
            anchors.fill: parent
            anchors.margins: 16
            spacing: 10

            RowLayout {
                Layout.fillWidth: true
                ColumnLayout {
                    spacing: 2
                    Text {
                        text: root.expanded ? qsTr("Expanded island") : qsTr("Notch")
                        font.pixelSize: 15
                        font.weight: Font.DemiBold
                        color: "white"
                    }
                    Text {
                        text: qsTr("Esc to finish")
                        font.pixelSize: 11
                        font.weight: Font.Medium
                        color: IslandPalette.textSecondary
                    }
                }
                Item { Layout.fillWidth: true }
                SmallButton {
                    text: qsTr("Done")
                    font.pixelSize: 12
                    font.weight: Font.DemiBold
                    fill: root.yellow
                    ink: "black"
                    onClicked: root.done()
                }
            }

            RowLayout {
                Layout.fillWidth: true
                spacing: 0
                Repeater {
                    model: [{ title: qsTr("Notch"), phase: Island.IslandEditPhase.hang },
                            { title: qsTr("Expanded"), phase: Island.IslandEditPhase.expanded }]
                    SmallButton {
                        required property var modelData
                        readonly property bool chosen: root.model ? root.model.islandEditPhase === modelData.phase : false
                        Layout.fillWidth: true
                        text: modelData.title
                        font.pixelSize: 12
                        fill: chosen ? Qt.rgba(1, 1, 1, 0.28) : Qt.rgba(1, 1, 1, 0.08)
                        onClicked: if (root.model) root.model.islandEditPhase = modelData.phase
                    }
                }
            }

            // The open island.
            ColumnLayout {
                visible: root.expanded
                Layout.fillWidth: true
                spacing: 12
                Text {
                    Layout.fillWidth: true
                    wrapMode: Text.WordWrap
                    text: qsTr("Nudge home. Y only moves down, never above the notch.")
                    font.pixelSize: 11
                    color: IslandPalette.textSecondary
                }
                SliderRow { label: qsTr("X"); key: "expandedOffsetX"; from: -60; to: 60 }
                SliderRow { label: qsTr("Y"); key: "expandedOffsetY"; from: 0; to: 80 }
                SmallButton {
                    text: qsTr("Reset expanded")
                    onClicked: IslandViews.resetExpanded(root.settings)
                }
            }

            // The hung island or the floating pill.
            ColumnLayout {
                visible: !root.expanded
                Layout.fillWidth: true
                spacing: 12
                Text {
                    Layout.fillWidth: true
                    wrapMode: Text.WordWrap
                    text: root.showsFloatingPill
                          ? qsTr("Nudge the floating pill. Y only moves down.")
                          : qsTr("Drop is how far the lip sits below the camera. Sides and round follow the camera.")
                    font.pixelSize: 11
                    color: IslandPalette.textSecondary
                }
                SliderRow { label: qsTr("X"); key: "lipOffsetX"; from: -60; to: 60 }
                SliderRow { visible: root.showsFloatingPill; label: qsTr("Y"); key: "lipOffsetY"; from: 0; to: 80 }
                SliderRow { visible: !root.showsFloatingPill; label: qsTr("Drop"); key: "lipDrop"; from: 2; to: 28 }
                SliderRow { visible: !root.showsFloatingPill; label: qsTr("Sides"); key: "lipEar"; from: -60; to: 64 }
                SliderRow { visible: !root.showsFloatingPill; label: qsTr("Round"); key: "lipCornerRadius"; from: 0; to: 22 }
                SmallButton {
                    text: qsTr("Reset notch")
                    onClicked: {
                        IslandViews.resetNotch(root.settings)
                        if (root.model)
                            root.model.islandEditPreview = Island.IslandEditPreview.idle
                    }
                }
                Text {
                    Layout.topMargin: 2
                    text: qsTr("Preview")
                    font.pixelSize: 11
                    font.weight: Font.DemiBold
                    color: IslandPalette.textSecondary
                }
                RowLayout {
                    spacing: 6
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
