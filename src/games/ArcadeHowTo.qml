import QtQuick
import Pavlet
import Pavlet.Style

// The card laid over a game before it starts: a picture, a title, a line on
// how to play and, when the game gives one, a button. The whole area it is
// given takes the pointer, so the board behind it gets no clicks.
Item {
    id: root
    property string title
    property string detail
    property string actionTitle
    // Whether the card offers its button; `actionTriggered` fires on a click.
    property bool hasAction: false
    property Component visual
    signal actionTriggered()

    readonly property real maxCardWidth: GameViews.howToMaxWidth

    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
    }

    Rectangle {
        id: card
        anchors.centerIn: parent
        width: Math.min(root.maxCardWidth, root.width,
                        Math.max(visualLoader.implicitWidth, titleText.implicitWidth, detailText.implicitWidth,
                                 button.implicitWidth) + 2 * IslandStyle.spacingXLarge)
        height: column.implicitHeight + 2 * IslandStyle.spacingLarge
        radius: IslandStyle.radiusLarge
        color: IslandPalette.black62

        Column {
            id: column
            anchors.centerIn: parent
            width: card.width - 2 * IslandStyle.spacingXLarge
            spacing: IslandStyle.spacingMedium

            Loader {
                id: visualLoader
                anchors.horizontalCenter: parent.horizontalCenter
                sourceComponent: root.visual
            }
            Text {
                id: titleText
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: root.title
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontHeadline
                font.weight: Font.DemiBold
                color: IslandPalette.textPrimary
            }
            Text {
                id: detailText
                objectName: "howToDetail"
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                text: root.detail
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontFootnote
                color: IslandPalette.textSecondary
            }
            Item {
                objectName: "howToAction"
                visible: root.hasAction
                anchors.horizontalCenter: parent.horizontalCenter
                implicitWidth: button.implicitWidth
                implicitHeight: button.implicitHeight
                width: implicitWidth
                height: visible ? implicitHeight : 0

                IslandPressStyle {
                    id: button
                    anchors.fill: parent
                    implicitWidth: actionLabel.implicitWidth + 2 * GameViews.howToButtonPadding
                    implicitHeight: actionLabel.implicitHeight + 2 * IslandStyle.spacingSmall
                    pressed: actionArea.pressed
                    label: root.actionTitle
                    onActivated: root.actionTriggered()
                    Rectangle {
                        width: button.width
                        height: button.height
                        radius: height / 2
                        color: IslandPalette.accent(IslandPalette.yellow)
                        Text {
                            id: actionLabel
                            textFormat: Text.PlainText
                            Accessible.role: Accessible.StaticText
                            Accessible.name: text
                            anchors.centerIn: parent
                            text: root.actionTitle
                            font.family: IslandStyle.roundedFamily
                            font.pixelSize: IslandStyle.fontBody
                            font.weight: Font.Medium
                            color: IslandPalette.onAccent
                        }
                    }
                }
                MouseArea {
                    id: actionArea
                    anchors.fill: parent
                    onClicked: root.actionTriggered()
                }
            }
        }
    }
}
