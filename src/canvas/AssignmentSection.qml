import QtQuick
import QtQuick.Layouts
import Pavlet

// One titled list of the planner: a dot, the title and its figure, then a
// row per item that opens the item's page.
Column {
    id: root
    required property canvasSection section
    property color accent: IslandPalette.textPrimary
    property NotchViewModel viewModel
    signal opened(canvasAssignment item)

    spacing: IslandStyle.spacing

    RowLayout {
        width: root.width
        spacing: IslandStyle.spacing
        Rectangle {
            implicitWidth: IslandStyle.spacingSmall
            implicitHeight: IslandStyle.spacingSmall
            radius: width / 2
            color: root.accent
        }
        Text {
            text: root.section.title
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontFootnote
            color: root.accent
        }
        Item { Layout.fillWidth: true }
        Text {
            visible: root.section.detail.length > 0
            text: root.section.detail
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontFootnote
            color: root.accent
            opacity: 0.85
        }
    }

    Repeater {
        model: root.section.items
        IslandPressStyle {
            id: row
            required property canvasAssignment modelData
            width: root.width
            height: content.implicitHeight
            pressed: rowArea.pressed
            RowLayout {
                id: content
                width: row.width
                spacing: IslandStyle.spacingMedium
                Rectangle {
                    Layout.alignment: Qt.AlignTop
                    implicitWidth: IslandStyle.spacingHair
                    implicitHeight: CanvasViews.barHeight
                    radius: width / 2
                    color: root.accent
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: IslandStyle.spacingHair
                    Text {
                        Layout.fillWidth: true
                        text: row.modelData.title
                        elide: Text.ElideRight
                        maximumLineCount: 1
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontCallout
                        font.weight: Font.Medium
                        color: IslandPalette.textPrimary
                    }
                    Text {
                        Layout.fillWidth: true
                        text: root.viewModel ? CanvasViews.subtitle(row.modelData, root.viewModel.canvasDueLabel(row.modelData)) : ""
                        elide: Text.ElideRight
                        maximumLineCount: 1
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontFootnote
                        color: IslandPalette.textSecondary
                    }
                }
                Text {
                    Layout.alignment: Qt.AlignTop
                    Layout.leftMargin: IslandStyle.spacing
                    visible: row.modelData.pointsLabel !== null
                    text: row.modelData.pointsLabel !== null ? row.modelData.pointsLabel : ""
                    font.family: IslandStyle.digitsFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    font.weight: Font.Medium
                    color: root.accent
                }
            }
            MouseArea {
                id: rowArea
                anchors.fill: parent
                onClicked: root.opened(row.modelData)
            }
        }
    }
}
