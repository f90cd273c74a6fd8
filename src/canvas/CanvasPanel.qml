import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The Canvas planner: a greeting with the summary of what waits, then the
// overdue, due-today and upcoming sections, or the empty state.
Item {
    id: root
    // The open work, the greeting and whether credentials are stored; the
    // service gives the due texts.
    required property canvasBoard board
    required property string greeting
    required property string firstName
    required property bool hasCredentials
    // Why the last refresh did not get through ("" when it did): the board
    // shown is then an older one, or nothing is known.
    required property string problem
    // No board has come yet for the credentials in use.
    property bool loading: false
    // An account is set up and the keyring has not told yet whether it holds the token.
    property bool waitingForKeyring: false
    // The keyring that holds the token is locked or missing ("" otherwise).
    property string keyringProblem: ""
    // Nothing is known of the work yet: the keyring or the first board is awaited.
    readonly property bool firstLoad: root.waitingForKeyring || root.keyringProblem !== ""
                                      || (root.hasCredentials && root.loading)
    required property CanvasService service
    // The pointer came onto the panel; the back button was clicked; an
    // assignment was clicked.
    signal pointerEntered()
    signal homeRequested()
    signal assignmentOpened(canvasAssignment item)
    // The root view hands every panel the player flag; the planner shows none.
    property bool showPlayer: false

    readonly property color red: IslandPalette.accent(IslandPalette.red)

    HoverHandler {
        onHoveredChanged: if (hovered) root.pointerEntered()
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
                onClicked: root.homeRequested()
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
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    Layout.fillWidth: true
                    text: root.greeting
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontSubhead
                    font.weight: Font.DemiBold
                    color: IslandPalette.textPrimary
                }
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: qsTr("Your Canvas")
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    color: root.red
                }
            }
            Text {
                objectName: "summary"
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                Layout.leftMargin: IslandStyle.spacing
                text: CanvasViews.summary(root.board, root.problem, root.firstLoad)
                horizontalAlignment: Text.AlignRight
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontFootnote
                color: IslandPalette.textTertiary
            }
        }

        Text {
            objectName: "canvasProblem"
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            visible: root.problem !== ""
            Layout.fillWidth: true
            text: root.problem
            wrapMode: Text.WordWrap
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontFootnote
            color: IslandPalette.accent(IslandPalette.coral)
        }

        ColumnLayout {
            objectName: "emptyState"
            // Nothing due is said only of a board that came whole.
            visible: sectionRepeater.count === 0 && root.problem === ""
            Layout.fillWidth: true
            Layout.topMargin: IslandStyle.spacingSmall
            spacing: IslandStyle.spacingSmall
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                Layout.fillWidth: true
                text: CanvasViews.emptyTitle(root.hasCredentials, root.firstName, root.loading, root.waitingForKeyring,
                                             root.keyringProblem)
                wrapMode: Text.WordWrap
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
                text: CanvasViews.emptyDetail(root.hasCredentials || root.waitingForKeyring, root.firstLoad, root.keyringProblem)
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
                    model: CanvasViews.sections(root.board)
                    AssignmentSection {
                        required property canvasSection modelData
                        width: sectionColumn.width
                        section: modelData
                        accent: IslandPalette.accent(IslandPalette[modelData.accent])
                        service: root.service
                        onOpened: (item) => root.assignmentOpened(item)
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
