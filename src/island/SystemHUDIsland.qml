import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// A volume or brightness change: the symbol for the level and a bar.
Item {
    id: root
    // The pulse's symbol, colour and level.
    required property hudLook look

    readonly property color tint: IslandPalette.accent(look.color)
    Accessible.role: Accessible.StaticText
    Accessible.name: SymbolIcons.meaning(look.symbol) + " " + Math.round(look.level * 100) + "%"

    RowLayout {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: IslandStyle.spacingHuge
        spacing: IslandStyle.spacingMedium

        Item {
            Layout.preferredWidth: IslandStyle.spacingHuge
            Layout.preferredHeight: IslandStyle.spacingHuge
            Symbol {
                anchors.centerIn: parent
                name: root.look.symbol
                size: IslandStyle.fontCallout
                color: root.tint
            }
        }
        Item {
            id: track
            Layout.fillWidth: true
            Layout.preferredHeight: IslandStyle.spacingSmall
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
                    SpringAnimation { spring: IslandStyle.quickSpring.spring; damping: IslandStyle.quickSpring.damping }
                }
            }
        }
    }
}
