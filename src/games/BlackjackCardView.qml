import QtQuick
import Pavlet
import Pavlet.Style

// One playing card, face up (rank over suit) or face down.
Rectangle {
    id: root
    // Rank label ("A", "10", "K") and suit (0 spades, 1 hearts, 2 diamonds, 3 clubs).
    property string rank
    property int suit: 0
    property bool hidden: false
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    readonly property color ink: GameViews.blackjackSuitRed(suit) ? IslandPalette.red : IslandPalette.black82

    width: GameViews.cardWidth
    height: GameViews.cardHeight
    radius: GameViews.cardRadius
    color: hidden ? IslandPalette.black : IslandPalette.white94
    border.width: hidden ? 1 : 0
    border.color: IslandPalette.faded(gold, GameViews.cardOutlineOpacity)
    antialiasing: true

    Column {
        anchors.centerIn: parent
        visible: !root.hidden
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.rank
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontFootnote
            font.weight: Font.DemiBold
            color: root.ink
        }
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.horizontalCenter: parent.horizontalCenter
            text: GameViews.blackjackSuit(root.suit)
            font.family: IslandStyle.digitsFamily
            font.pixelSize: IslandStyle.fontCaption
            color: root.ink
        }
    }
    Rectangle {
        anchors.centerIn: parent
        visible: root.hidden
        width: GameViews.cardBackMarkWidth
        height: GameViews.cardBackMarkHeight
        radius: height / 2
        color: root.gold
    }
}
