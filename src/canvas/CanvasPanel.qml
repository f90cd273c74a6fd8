import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The Canvas planner: a greeting with the summary of what waits, then the
// overdue, due-today and upcoming sections, or the empty state.
Item {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    // The root view hands every panel the player flag; the planner shows none.
    property bool showPlayer: false

    readonly property color red: IslandPalette.accent(IslandPalette.red)

    HoverHandler {
        onHoveredChanged: if (hovered) root.model.cancelHoverTask()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: IslandStyle.spacingLarge + IslandStyle.spacingHair

        RowLayout {
            Layout.fillWidth: true
            spacing: IslandStyle.spacingMedium
            IslandIconButton {
                systemName: "chevron.left"
                size: IslandStyle.fontBody
                color: root.red
                help: qsTr("Home")
                onClicked: root.model.openHome()
            }
            CanvasMark {
                size: CanvasViews.markSize
                color: root.red
            }
            ColumnLayout {
                spacing: 1
                Layout.fillWidth: true
                Text {
                    objectName: "greeting"
                    Layout.fillWidth: true
                    text: root.model.greeting
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontSubhead
                    font.weight: Font.DemiBold
                    color: IslandPalette.textPrimary
                }
                Text {
                    text: qsTr("Your Canvas")
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    color: root.red
                }
            }
            Text {
                objectName: "summary"
                Layout.leftMargin: IslandStyle.spacing
                text: CanvasViews.summary(root.model.canvasBoard)
                horizontalAlignment: Text.AlignRight
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontFootnote
                color: IslandPalette.textTertiary
            }
        }

        ColumnLayout {
            objectName: "emptyState"
            visible: sectionRepeater.count === 0
            Layout.fillWidth: true
            Layout.topMargin: IslandStyle.spacingSmall
            spacing: IslandStyle.spacingSmall
            Text {
                Layout.fillWidth: true
                text: CanvasViews.emptyTitle(root.model.canvasHasCredentials, root.model.canvasFirstName)
                wrapMode: Text.WordWrap
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontCallout
                font.weight: Font.Medium
                color: IslandPalette.textPrimary
            }
            Text {
                Layout.fillWidth: true
                text: CanvasViews.emptyDetail(root.model.canvasHasCredentials)
                wrapMode: Text.WordWrap
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontFootnote
                color: IslandPalette.textSecondary
            }
        }

        Flickable {
            visible: sectionRepeater.count > 0
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            contentHeight: sectionColumn.implicitHeight
            boundsBehavior: Flickable.StopAtBounds
            Column {
                id: sectionColumn
                width: parent.width
                spacing: CanvasViews.sectionSpacing
                Repeater {
                    id: sectionRepeater
                    model: CanvasViews.sections(root.model.canvasBoard)
                    AssignmentSection {
                        required property canvasSection modelData
                        width: sectionColumn.width
                        section: modelData
                        accent: IslandPalette.accent(IslandPalette[modelData.accent])
                        viewModel: root.model
                        onOpened: (item) => root.model.openAssignment(item)
                    }
                }
            }
        }

        Item {
            visible: sectionRepeater.count === 0
            Layout.fillHeight: true
        }
    }
}
