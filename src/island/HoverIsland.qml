import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The hover island: one line about the live activity or the status pulse,
// with a mark before it and a Join button, playing bars or the temperature
// after it.
Item {
    id: root
    required property NotchViewModel model
    required property AppSettings settings

    readonly property hoverLook look: model.look.hover

    function accent(color) { return IslandPalette.accent(color) }

    RowLayout {
        id: row
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: root.model.usesFloatingIsland ? parent.verticalCenter : undefined
        anchors.bottom: root.model.usesFloatingIsland ? undefined : parent.bottom
        height: IslandViews.markSize
        spacing: IslandStyle.spacingMedium

        Item {
            Layout.preferredWidth: IslandViews.markSize
            Layout.preferredHeight: IslandViews.markSize
            visible: root.look.markKind !== "none"

            Symbol {
                anchors.centerIn: parent
                visible: root.look.markKind === "symbol"
                name: visible ? root.look.markSymbol : ""
                size: IslandStyle.fontFootnote
                color: root.accent(root.look.markColor)
            }
            Loader {
                anchors.centerIn: parent
                active: root.look.markKind === "artwork"
                sourceComponent: ArtworkView {
                    size: IslandViews.markSize
                    corner: IslandViews.artworkCorner
                    accent: root.accent(root.look.markColor)
                    symbol: root.look.markSymbol
                    image: root.model.look.artwork
                }
            }
            Loader {
                anchors.centerIn: parent
                active: root.look.markKind === "clock"
                sourceComponent: TickingClock { size: IslandViews.hoverClockSize; color: root.look.markColor }
            }
        }

        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            Layout.fillWidth: true
            text: root.look.title
            elide: Text.ElideRight
            maximumLineCount: 1
            font.pixelSize: IslandStyle.fontBody
            font.family: IslandStyle.roundedFamily
            font.weight: Font.Medium
            color: IslandPalette.textPrimary
        }

        Item {
            Layout.preferredWidth: IslandStyle.spacingTiny
        }

        Loader {
            Layout.alignment: Qt.AlignVCenter
            active: root.look.accessoryKind !== "none"
            sourceComponent: root.look.accessoryKind === "join" ? join
                           : root.look.accessoryKind === "bars" ? bars : root.temperature
        }
    }

    Component {
        id: join
        IslandPressStyle {
            id: button
            readonly property color tint: root.accent(root.look.accessoryColor)
            pressed: press.pressed
            label: root.look.accessoryText
            onActivated: root.model.joinEvent(root.look.joinEvent)
            implicitWidth: label.implicitWidth + 2 * IslandStyle.spacing
            implicitHeight: label.implicitHeight + 2 * IslandViews.joinPadding
            Rectangle {
                width: button.width
                height: button.height
                radius: height / 2
                color: IslandPalette.faded(button.tint, 0.2)
                Text {
                    id: label
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    anchors.centerIn: parent
                    text: root.look.accessoryText
                    font.pixelSize: IslandStyle.fontCaption
                    font.family: IslandStyle.roundedFamily
                    color: button.tint
                }
            }
            MouseArea {
                id: press
                anchors.fill: parent
                onClicked: root.model.joinEvent(root.look.joinEvent)
            }
        }
    }
    Component {
        id: bars
        PlayingBars { height: IslandStyle.spacingLarge; color: root.accent(root.look.accessoryColor) }
    }
    readonly property Component temperature: Component {
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: root.look.accessoryText
            font.pixelSize: IslandStyle.fontFootnote
            font.family: IslandStyle.digitsFamily
            color: root.accent(root.look.accessoryColor)
        }
    }
}
