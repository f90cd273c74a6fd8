import QtQuick
import QtQuick.Controls
import Pavlet
import Pavlet.Style

// One recording: play, name and detail, favourite and the expand chevron;
// expanded, its name and note fields, MP3 export and delete. Dragging it
// offers the file.
Rectangle {
    id: root
    required property voiceMemo memo
    required property VoiceMemoEngine engine
    required property date now
    readonly property bool playing: engine.isPlaying && engine.playingURL === memo.url
    readonly property bool expanded: engine.expandedID === memo.file
    readonly property bool exporting: engine.exportingID === memo.file
    readonly property color coral: IslandPalette.accent(IslandPalette.coral)
    Accessible.role: Accessible.ListItem
    Accessible.name: MediaText.memoName(memo)
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)

    implicitHeight: column.implicitHeight + 16
    // Expanding and collapsing move the row's edge with the list's spring;
    // the fields show as the row opens.
    height: implicitHeight
    clip: true
    Behavior on height { SpringAnimation { spring: IslandStyle.memoListSpring.spring; damping: IslandStyle.memoListSpring.damping; epsilon: 0.5 } }
    radius: IslandStyle.radius
    color: playing ? IslandPalette.faded(coral, 0.12) : IslandPalette.fill

    Column {
        id: column
        x: MediaText.memoPadding
        y: IslandStyle.spacing
        width: root.width - 2 * MediaText.memoPadding
        spacing: IslandStyle.spacing

        Item {
            width: parent.width
            height: MediaText.memoButtonSize
            IslandPressStyle {
                id: play
                anchors.verticalCenter: parent.verticalCenter
                implicitWidth: MediaText.memoButtonSize
                implicitHeight: MediaText.memoButtonSize
                pressed: playArea.pressed
                label: root.playing ? qsTr("Pause") : qsTr("Play")
                onActivated: root.engine.togglePlay(root.memo)
                Rectangle {
                    width: MediaText.memoButtonSize; height: width; radius: width / 2
                    color: root.playing ? root.coral : IslandPalette.fillStrong
                    Symbol {
                        anchors.centerIn: parent
                        name: root.playing ? "pause.fill" : "play.fill"
                        size: IslandStyle.fontFootnote
                        color: root.playing ? IslandPalette.black : root.coral
                    }
                }
                MouseArea { id: playArea; anchors.fill: parent; onClicked: root.engine.togglePlay(root.memo) }
            }
            Item {
                anchors.left: play.right
                anchors.leftMargin: IslandStyle.spacingMedium
                anchors.right: star.left
                anchors.rightMargin: IslandStyle.spacingTiny
                anchors.verticalCenter: parent.verticalCenter
                height: texts.implicitHeight
                Column {
                    id: texts
                    width: parent.width
                    spacing: 1
                    CardText { width: parent.width; text: MediaText.memoName(root.memo) }
                    CardText {
                        width: parent.width
                        text: MediaText.memoDetailLine(root.memo, root.expanded, root.now)
                        font.pixelSize: IslandStyle.fontCaption
                        font.weight: Font.Normal
                        color: IslandPalette.textTertiary
                    }
                }
                MouseArea {
                    id: textArea
                    anchors.fill: parent
                    drag.target: dragProxy
                    onClicked: root.engine.toggleExpanded(root.memo)
                    // The file's drag starts with the mouse area's own and
                    // runs outside this row (see FileDrag): the memo dragged
                    // over the island opens the pocket, which deletes this
                    // panel while the drag goes on.
                    drag.onActiveChanged: if (drag.active) FileDrag.start([root.memo.url])
                }
            }
            IslandIconButton {
                id: star
                anchors.right: chevron.left
                anchors.verticalCenter: parent.verticalCenter
                systemName: root.memo.favorite ? "star.fill" : "star"
                size: IslandStyle.fontBody
                color: root.memo.favorite ? root.gold : IslandPalette.textTertiary
                help: root.memo.favorite ? qsTr("Unfavorite") : qsTr("Favorite")
                onClicked: root.engine.toggleFavorite(root.memo)
            }
            Symbol {
                id: chevron
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                name: root.expanded ? "chevron.up" : "chevron.down"
                Accessible.role: Accessible.Button
                Accessible.name: root.expanded ? qsTr("Show less") : qsTr("Show more")
                Accessible.onPressAction: root.engine.toggleExpanded(root.memo)
                size: IslandStyle.fontCaption
                color: IslandPalette.textTertiary
                MouseArea { anchors.fill: parent; anchors.margins: -IslandStyle.spacingTiny; onClicked: root.engine.toggleExpanded(root.memo) }
            }
        }

        Loader {
            width: parent.width
            active: root.expanded
            visible: active
            sourceComponent: Column {
                spacing: IslandStyle.spacing
                TextField {
                    objectName: "memoName"
                    width: parent.width
                    leftPadding: 8; rightPadding: 8; topPadding: 6; bottomPadding: 6
                    placeholderText: qsTr("Name")
                    Accessible.name: placeholderText
                    placeholderTextColor: IslandPalette.textTertiary
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontBody
                    font.weight: Font.Medium
                    color: IslandPalette.textPrimary
                    text: root.memo.name
                    onTextEdited: root.engine.rename(root.memo, text)
                    background: Rectangle { radius: IslandStyle.radiusMedium; color: IslandPalette.faded(IslandPalette.black, 0.28) }
                }
                TextArea {
                    id: note
                    objectName: "memoNote"
                    width: parent.width
                    leftPadding: 8; rightPadding: 8; topPadding: 6; bottomPadding: 6
                    readonly property real line: font.pixelSize * 1.3
                    height: Math.min(Math.max(implicitHeight, 2 * line + 12), 4 * line + 12)
                    wrapMode: TextEdit.Wrap
                    placeholderText: qsTr("Note")
                    Accessible.name: placeholderText
                    placeholderTextColor: IslandPalette.textTertiary
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    color: IslandPalette.textSecondary
                    text: root.memo.note
                    onTextChanged: if (text !== root.memo.note) root.engine.setNote(root.memo, text)
                    background: Rectangle { radius: IslandStyle.radiusMedium; color: IslandPalette.faded(IslandPalette.black, 0.28) }
                }
                Item {
                    width: parent.width
                    height: mp3.implicitHeight
                    IslandPressStyle {
                        id: mp3
                        enabled: !root.exporting
                        pressed: mp3Area.pressed
                        label: qsTr("Save an MP3 to Downloads")
                        onActivated: root.engine.exportMP3(root.memo)
                        implicitWidth: mp3Row.implicitWidth + 2 * MediaText.memoChipPadding
                        implicitHeight: mp3Row.implicitHeight + IslandStyle.spacingMedium
                        Rectangle {
                            width: mp3.width; height: mp3.height
                            radius: MediaText.memoChipRadius
                            color: IslandPalette.fillStrong
                            Row {
                                id: mp3Row
                                anchors.centerIn: parent
                                spacing: MediaText.memoChipGap
                                Symbol { anchors.verticalCenter: parent.verticalCenter; name: "square.and.arrow.down"; size: IslandStyle.fontFootnote; color: root.coral }
                                CardText {
                                    text: root.exporting ? qsTr("Saving…") : qsTr("MP3")
                                    font.pixelSize: IslandStyle.fontFootnote
                                    font.weight: Font.Normal
                                    color: root.coral
                                }
                            }
                        }
                        MouseArea { id: mp3Area; anchors.fill: parent; hoverEnabled: true; onClicked: root.engine.exportMP3(root.memo) }
                        ToolTip.visible: mp3Area.containsMouse
                        ToolTip.text: qsTr("Save an MP3 to Downloads")
                        ToolTip.delay: 600
                    }
                    IslandIconButton {
                        anchors.right: parent.right
                        anchors.verticalCenter: parent.verticalCenter
                        systemName: "xmark.circle.fill"
                        size: IslandStyle.fontSubhead
                        color: IslandPalette.textTertiary
                        help: qsTr("Delete")
                        onClicked: root.engine.deleteMemo(root.memo)
                    }
                }
            }
        }
    }

    // Moved by a drag of the row's texts, which starts the file's drag.
    Item { id: dragProxy }
}
