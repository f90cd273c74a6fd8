import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// A tone for the speakers, and a take from the microphone played back.
ModuleCard {
    id: root
    // The card's own engine; null where the machine has no audio parts.
    required property MicCheckEngine engine
    readonly property color amber: IslandPalette.accent(IslandPalette.amber)
    readonly property bool recording: engine ? engine.recording : false
    title: qsTr("Mic check")
    accent: amber

    Column {
        width: parent.width
        spacing: IslandStyle.spacing
        CardText {
            width: parent.width
            text: root.engine ? root.engine.status : qsTr("Play a tone, or record a second and hear it back")
            font.pixelSize: IslandStyle.fontCaption
            font.weight: Font.Normal
            color: IslandPalette.textTertiary
        }
        Rectangle {
            width: parent.width
            height: HomeText.micBarHeight
            radius: height / 2
            color: IslandPalette.fill
            Rectangle {
                height: parent.height
                radius: height / 2
                width: HomeText.micLevelWidth(root.engine ? root.engine.level : 0, parent.width)
                color: root.amber
            }
        }
        RowLayout {
            width: parent.width
            IslandPressStyle {
                implicitWidth: tone.implicitWidth
                implicitHeight: tone.implicitHeight
                pressed: toneArea.pressed
                keys: true
                onActivated: if (root.engine) root.engine.playTone()
                label: tone.text
                CardText { id: tone; text: qsTr("Tone"); font.pixelSize: IslandStyle.fontFootnote; color: root.amber }
                MouseArea { id: toneArea; anchors.fill: parent; onClicked: if (root.engine) root.engine.playTone() }
            }
            Item { Layout.fillWidth: true }
            IslandPressStyle {
                implicitWidth: record.implicitWidth
                implicitHeight: record.implicitHeight
                pressed: recordArea.pressed
                keys: true
                onActivated: if (root.engine) root.engine.toggleRecord()
                label: record.text
                CardText {
                    id: record
                    text: root.recording ? qsTr("Play back") : qsTr("Record")
                    font.pixelSize: IslandStyle.fontFootnote
                    color: root.recording ? IslandPalette.accent(IslandPalette.coral)
                                          : IslandPalette.textPrimary
                }
                MouseArea { id: recordArea; anchors.fill: parent; onClicked: if (root.engine) root.engine.toggleRecord() }
            }
        }
    }
}
