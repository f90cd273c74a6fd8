import QtQuick
import Pavlet
import Pavlet.Style

// A hand's block: its label, total and stake over its cards.
Column {
    id: root
    required property blackjackHand hand
    property string label
    property color labelColor: IslandPalette.textPrimary
    property bool hidingHole: false
    spacing: IslandStyle.spacingTiny

    Row {
        spacing: IslandStyle.spacingSmall
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: root.label
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontFootnote
            color: root.labelColor
        }
        TabularText {
            objectName: "handTotal"
            visible: text.length > 0
            text: GameViews.blackjackTotalText(root.hand.cards, root.hidingHole)
            font.pixelSize: IslandStyle.fontFootnote
            color: IslandPalette.textSecondary
        }
        TabularText {
            visible: root.hand.bet >= 1
            text: "$" + root.hand.bet
            font.pixelSize: IslandStyle.fontFootnote
            color: IslandPalette.textTertiary
        }
    }
    Row {
        spacing: IslandStyle.spacingTiny
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            visible: root.hand.cards.length === 0
            text: "\u2014"
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontFootnote
            color: IslandPalette.textTertiary
        }
        Repeater {
            model: root.hand.cards
            BlackjackCardView {
                required property blackjackCard modelData
                required property int index
                rank: modelData.label
                suit: modelData.suit
                hidden: GameViews.blackjackCardHidden(index, root.hidingHole)
            }
        }
    }
}
