import QtQuick
import Pavlet
import Pavlet.Style

// The how-to card of the board games that carry their own options: a
// picture, a title, a line, then the game's chips. It covers the whole game
// area, so the board behind it takes no clicks.
Item {
    id: root
    property string title
    property string detail
    property Component visual
    default property alias content: extra.data

    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
    }

    Rectangle {
        objectName: "howToCard"
        anchors.centerIn: parent
        width: Math.min(GameViews.ownHowToMaxWidth, root.width,
                        Math.max(visualLoader.implicitWidth, titleText.implicitWidth, detailText.implicitWidth,
                                 extra.implicitWidth) + 2 * IslandStyle.spacingXLarge)
        height: column.implicitHeight + 2 * IslandStyle.spacingLarge
        radius: IslandStyle.radiusLarge
        color: IslandPalette.black62

        Column {
            id: column
            anchors.centerIn: parent
            width: parent.width - 2 * IslandStyle.spacingXLarge
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
            Column {
                id: extra
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: IslandStyle.spacingMedium
            }
        }
    }
}
