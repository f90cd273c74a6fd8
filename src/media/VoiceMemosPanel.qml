import QtQuick
import QtQuick.Controls
import Pavlet
import Pavlet.Style

// The voice memos: a header back to Home with a status line, the list of
// recordings (or an empty card) and the record button with its level meter.
Item {
    id: root
    required property VoiceMemoEngine engine
    // The pointer came onto the panel; the back button was clicked.
    signal pointerEntered()
    signal homeRequested()
    readonly property color coral: IslandPalette.accent(IslandPalette.coral)
    // A take is under way or about to be: the button stops it.
    readonly property bool taking: engine.recording || engine.starting

    Component.onCompleted: engine.reload()
    onVisibleChanged: if (visible) engine.reload()
    HoverHandler { onHoveredChanged: if (hovered) root.pointerEntered() }
    AnimationTicker { id: ticker; running: root.visible; fps: 0.1 }

    Item {
        id: header
        width: parent.width
        height: MediaText.memosHeaderHeight
        IslandIconButton {
            id: back
            anchors.verticalCenter: parent.verticalCenter
            systemName: "chevron.left"
            size: IslandStyle.fontBody
            color: root.coral
            help: qsTr("Home")
            onClicked: root.homeRequested()
        }
        Column {
            anchors.left: back.right
            anchors.leftMargin: IslandStyle.spacing
            anchors.verticalCenter: parent.verticalCenter
            spacing: 1
            CardText { text: qsTr("Voice memos"); font.pixelSize: IslandStyle.fontCallout; font.weight: Font.DemiBold }
            CardText {
                text: root.engine.starting ? qsTr("Starting…")
                    : MediaText.memoStatusLine(root.engine.recording, root.engine.elapsed, root.engine.exportingID,
                                               root.engine.status, root.engine.memos.length)
                font.pixelSize: IslandStyle.fontCaption
                font.weight: Font.Normal
                color: root.coral
            }
        }
        IslandIconButton {
            visible: root.engine.isPlaying
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            systemName: "stop.fill"
            size: IslandStyle.fontFootnote
            color: IslandPalette.textSecondary
            help: qsTr("Stop")
            onClicked: root.engine.stopPlayback()
        }
    }

    Item {
        id: middle
        anchors.top: header.bottom
        anchors.topMargin: IslandStyle.spacingMedium
        anchors.bottom: recordArea.top
        anchors.bottomMargin: IslandStyle.spacingMedium
        width: parent.width

        Rectangle {
            visible: root.engine.memos.length === 0 && !root.engine.recording
            anchors.centerIn: parent
            width: parent.width
            height: Math.max(120, empty.implicitHeight + 36)
            radius: IslandStyle.radiusCard
            color: IslandPalette.fill
            Column {
                id: empty
                anchors.centerIn: parent
                width: parent.width - 32
                spacing: IslandStyle.spacing
                Symbol { anchors.horizontalCenter: parent.horizontalCenter; name: "waveform"; size: IslandStyle.fontLarge; color: root.coral }
                CardText { anchors.horizontalCenter: parent.horizontalCenter; text: qsTr("No memos yet") }
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    text: qsTr("Tap the mic. Rename, add a note, favorite, or save as MP3.")
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCaption
                    color: IslandPalette.textTertiary
                }
            }
        }
        ListView {
            id: list
            objectName: "memoList"
            visible: !(root.engine.memos.length === 0 && !root.engine.recording)
            anchors.fill: parent
            clip: true
            spacing: IslandStyle.spacingSmall
            boundsBehavior: Flickable.StopAtBounds
            // Rows are kept by file and updated in place, so an edited row
            // keeps its fields (and their focus).
            model: root.engine.memoList
            delegate: VoiceMemoRow {
                width: ListView.view.width
                engine: root.engine
                now: ticker.now
            }
            add: Transition {
                SpringAnimation { property: "opacity"; from: 0; to: 1; spring: IslandStyle.memoListSpring.spring; damping: IslandStyle.memoListSpring.damping; epsilon: 0.01 }
            }
            remove: Transition {
                SpringAnimation { property: "opacity"; to: 0; spring: IslandStyle.memoListSpring.spring; damping: IslandStyle.memoListSpring.damping; epsilon: 0.01 }
            }
            displaced: Transition {
                SpringAnimation { property: "y"; spring: IslandStyle.memoListSpring.spring; damping: IslandStyle.memoListSpring.damping; epsilon: 0.5 }
                SpringAnimation { property: "opacity"; to: 1; spring: IslandStyle.memoListSpring.spring; damping: IslandStyle.memoListSpring.damping; epsilon: 0.01 }
            }
            move: displaced
        }
    }

    Column {
        id: recordArea
        anchors.bottom: parent.bottom
        width: parent.width
        spacing: IslandStyle.spacing
        Row {
            visible: root.engine.recording
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: IslandStyle.spacing
            VoiceMeter { anchors.verticalCenter: parent.verticalCenter; level: root.engine.level }
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                anchors.verticalCenter: parent.verticalCenter
                text: MediaText.memoTimeText(root.engine.elapsed)
                font.family: IslandStyle.digitsFamily
                font.pixelSize: IslandStyle.fontTitle3
                font.weight: Font.DemiBold
                color: IslandPalette.textPrimary
            }
            VoiceMeter { anchors.verticalCenter: parent.verticalCenter; level: root.engine.level }
        }
        IslandPressStyle {
            anchors.horizontalCenter: parent.horizontalCenter
            implicitWidth: MediaText.recordSize
            implicitHeight: MediaText.recordSize
            pressed: recordMouse.pressed
            label: root.taking ? qsTr("Stop") : qsTr("Record")
            onActivated: root.engine.toggleRecord()
            Item {
                width: MediaText.recordSize; height: MediaText.recordSize
                Rectangle {
                    anchors.centerIn: parent
                    width: MediaText.recordDiscSize; height: width; radius: width / 2
                    color: root.taking ? root.coral : IslandPalette.fillStrong
                }
                Rectangle {
                    anchors.centerIn: parent
                    width: MediaText.recordSize; height: width; radius: width / 2
                    color: IslandPalette.clear
                    border.width: IslandStyle.stroke
                    border.color: IslandPalette.faded(root.coral, root.taking ? 0.7 : 0.35)
                    scale: root.taking ? 1.06 : 1
                    Behavior on scale { SpringAnimation { spring: IslandStyle.quickSpring.spring; damping: IslandStyle.quickSpring.damping; epsilon: 0.002 } }
                }
                Symbol {
                    anchors.centerIn: parent
                    name: root.taking ? "stop.fill" : "mic.fill"
                    size: root.taking ? IslandStyle.fontTitle3 : IslandStyle.fontTitle
                    color: root.taking ? IslandPalette.white : root.coral
                }
            }
            MouseArea {
                id: recordMouse
                anchors.fill: parent
                hoverEnabled: true
                onClicked: (mouse) => { if (Math.hypot(mouse.x - 31, mouse.y - 31) <= 31) root.engine.toggleRecord() }
                ToolTip.visible: containsMouse
                ToolTip.text: root.taking ? qsTr("Stop") : qsTr("Record")
                ToolTip.delay: 600
            }
        }
        CardText {
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.engine.recording ? qsTr("Tap to save") : qsTr("Record")
            font.pixelSize: IslandStyle.fontCaption
            font.weight: Font.Normal
            color: IslandPalette.textTertiary
        }
    }
}
