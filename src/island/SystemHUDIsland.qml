import QtQuick
import QtQuick.Layouts
import Pavlet

// A volume or brightness change: the symbol for the level and a bar.
Item {
    id: root
    // The pulse: {kind, value, muted}.
    property var pulse

    readonly property var look: IslandViews.hudLook(pulse ? pulse.kind : 0, pulse ? pulse.value : 0,
                                                    pulse ? pulse.muted : false)
    readonly property color tint: IslandPalette.accent(IslandPalette[look.colorName], IslandPalette.accentRevision)
    readonly property var springParams: IslandViews.spring(0.26, 0.78)

    RowLayout {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 18
        spacing: 10

        Item {
            Layout.preferredWidth: 18
            Layout.preferredHeight: 18
            Symbol {
                anchors.centerIn: parent
                name: root.look.symbol
                size: 13
                color: root.tint
            }
        }
        Item {
            id: track
            Layout.fillWidth: true
            Layout.preferredHeight: 6
            Rectangle {
                anchors.fill: parent
                radius: height / 2
                color: IslandPalette.fillStrong
            }
            Rectangle {
                height: parent.height
                radius: height / 2
                color: root.tint
                width: IslandViews.hudFillWidth(track.width, root.look.level)
                Behavior on width {
                    SpringAnimation { spring: root.springParams.spring; damping: root.springParams.damping }
                }
            }
        }
    }
}
