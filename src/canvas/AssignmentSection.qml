import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// One titled list of the planner: a dot, the title and its figure, then a
// row per item that opens the item's page.
Column {
    id: root
    required property canvasSection section
    property color accent: IslandPalette.textPrimary
    property CanvasService service
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
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: root.section.title
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontFootnote
            color: root.accent
        }
        Item { Layout.fillWidth: true }
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
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
            label: row.modelData.title
            onActivated: root.opened(row.modelData)
            // The bar, the texts and the points stand on the title's first
            // baseline: the bar ends on it, the points sit on it.
            Item {
                id: content
                width: row.width
                readonly property real titleBaseline: Math.max(bar.height, title.baselineOffset,
                                                          points.visible ? points.baselineOffset : 0)
                implicitHeight: Math.max(titleBaseline, texts.y + texts.implicitHeight,
                                         points.visible ? points.y + points.implicitHeight : 0)
                height: implicitHeight
                Rectangle {
                    id: bar
                    objectName: "bar"
                    y: content.titleBaseline - height
                    width: IslandStyle.spacingHair
                    height: CanvasViews.barHeight
                    radius: width / 2
                    color: root.accent
                }
                ColumnLayout {
                    id: texts
                    x: bar.width + IslandStyle.spacingMedium
                    y: content.titleBaseline - title.baselineOffset
                    width: (points.visible ? points.x - IslandStyle.spacing - IslandStyle.spacingMedium
                                           : content.width) - x
                    spacing: IslandStyle.spacingHair
                    Text {
                        id: title
                        objectName: "rowTitle"
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
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
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        Layout.fillWidth: true
                        text: root.service ? CanvasViews.subtitle(row.modelData, root.service.dueLabel(row.modelData, root.service.day)) : ""
                        elide: Text.ElideRight
                        maximumLineCount: 1
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontFootnote
                        color: IslandPalette.textSecondary
                    }
                }
                Text {
                    id: points
                    objectName: "points"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    x: content.width - implicitWidth
                    y: content.titleBaseline - baselineOffset
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
