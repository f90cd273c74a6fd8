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
    readonly property color yellow: IslandPalette.accent(IslandPalette.yellow)

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
            from: sliderRow.from
            to: sliderRow.to
            stepSize: 1
            snapMode: Slider.SnapAlways
            onMoved: sliderRow.write(value)
            Binding on value { value: sliderRow.current; when: !slider.pressed }
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
            spacing: 1
            Repeater {
                model: [-1, 1]
                Button {
                    required property int modelData
                    width: 22
                    height: 20
                    padding: 0
                    text: modelData < 0 ? "\u2212" : "+"
                    enabled: modelData < 0 ? sliderRow.current > sliderRow.from : sliderRow.current < sliderRow.to
                    onClicked: sliderRow.write(sliderRow.current + modelData)
                }
            }
        }
    }

    component Chip: Button {
        id: chip
        property int preview
        property bool chosen: root.model ? root.model.islandEditPreview === preview : false
        implicitHeight: 24
        font.pixelSize: 11
        palette.buttonText: chosen ? "black" : "white"
        background: Rectangle {
            radius: 6
            color: chip.chosen ? root.yellow : Qt.rgba(1, 1, 1, 0.16)
        }
        onClicked: if (root.model) root.model.islandEditPreview = preview
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
            spacing: 12

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
                Button {
                    text: qsTr("Done")
                    font.pixelSize: 12
                    palette.buttonText: "black"
                    background: Rectangle { radius: 6; color: root.yellow }
                    onClicked: root.done()
                }
            }

            RowLayout {
                Layout.fillWidth: true
                spacing: 0
                Repeater {
                    model: [{ title: qsTr("Notch"), phase: Island.IslandEditPhase.hang },
                            { title: qsTr("Expanded"), phase: Island.IslandEditPhase.expanded }]
                    Button {
                        required property var modelData
                        readonly property bool chosen: root.model ? root.model.islandEditPhase === modelData.phase : false
                        Layout.fillWidth: true
                        text: modelData.title
                        font.pixelSize: 12
                        palette.buttonText: "white"
                        background: Rectangle {
                            radius: 6
                            color: parent.chosen ? Qt.rgba(1, 1, 1, 0.24) : Qt.rgba(1, 1, 1, 0.08)
                        }
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
                Button {
                    text: qsTr("Reset expanded")
                    font.pixelSize: 11
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
                Button {
                    text: qsTr("Reset notch")
                    font.pixelSize: 11
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
