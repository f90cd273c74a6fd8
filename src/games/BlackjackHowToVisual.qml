import QtQuick
import Pavlet
import Pavlet.Style

// The ace of spades and the king of hearts, tilted apart.
Item {
    implicitWidth: cards.implicitWidth
    implicitHeight: GameViews.howToCardsHeight
    Row {
        id: cards
        anchors.centerIn: parent
        spacing: IslandStyle.spacingSmall
        BlackjackCardView { rank: "A"; suit: 0; rotation: -GameViews.cardTilt }
        BlackjackCardView { rank: "K"; suit: 1; rotation: GameViews.cardTilt }
    }
}
