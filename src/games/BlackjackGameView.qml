import QtQuick
import Pavlet
import Pavlet.Style

// Blackjack: the table (status, bank, dealer and player hands, the controls
// of the phase) with the how-to card before play and the result card after
// each hand.
Item {
    id: root
    required property BlackjackEngine engine
    property bool shown: true
    // Leaving cancels the dealer's turn; the phase stays.
    onShownChanged: if (!shown) engine.cancelPlayTask()

    implicitHeight: GameViews.gameMinHeight
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)
    readonly property int phase: engine.phase

    // The table is as tall as its rows, centred in the game area. Before
    // the buy-in it fills the area without its rows, so that the how-to card
    // stands on it whole, as the other games' cards stand on their boards.
    Rectangle {
        id: table
        objectName: "blackjackTable"
        readonly property bool underHowTo: root.phase === BlackjackEngine.Phase.howto
        anchors.centerIn: parent
        width: root.width
        height: underHowTo ? root.height : rows.implicitHeight + 2 * IslandStyle.spacingLarge
        radius: IslandStyle.radiusLarge
        color: IslandPalette.fill

        Column {
            id: rows
            objectName: "blackjackRows"
            visible: !table.underHowTo
            x: IslandStyle.spacingLarge
            y: IslandStyle.spacingLarge
            width: parent.width - 2 * IslandStyle.spacingLarge
            spacing: IslandStyle.spacing

            Item {
                width: parent.width
                height: Math.max(status.implicitHeight, bank.implicitHeight)
                Text {
                    id: status
                    objectName: "blackjackStatus"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    anchors.verticalCenter: parent.verticalCenter
                    text: GameViews.blackjackStatus(root.phase, root.engine.message)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCallout
                    font.weight: Font.Medium
                    color: root.gold
                }
                TabularText {
                    id: bank
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    text: "Bank $" + root.engine.player.bank
                    font.pixelSize: IslandStyle.fontFootnote
                    color: root.gold
                }
            }

            BlackjackHand {
                objectName: "dealerHand"
                width: parent.width
                hand: root.engine.dealer
                label: "Dealer"
                labelColor: IslandPalette.white82
                hidingHole: root.engine.hideHole
            }
            BlackjackHand {
                objectName: "playerHand"
                width: parent.width
                hand: root.engine.player
                label: "You"
                labelColor: root.gold
            }

            // Plain positioners only: the bet chips come and go with the
            // bank while the row comes into view.
            Item {
                objectName: "bettingRow"
                visible: root.phase === BlackjackEngine.Phase.betting
                width: parent.width
                height: Math.max(betChips.implicitHeight, dealChip.implicitHeight)
                Row {
                    id: betChips
                    spacing: IslandStyle.spacingSmall
                    Repeater {
                        model: root.engine.betOptions
                        ArcadeChip {
                            required property double modelData
                            title: "$" + modelData
                            selected: modelData === root.engine.bet
                            onClicked: root.engine.chooseBet(modelData)
                        }
                    }
                }
                ArcadeChip {
                    id: dealChip
                    anchors.right: parent.right
                    title: "Deal $" + root.engine.bet
                    selected: true
                    onClicked: root.engine.deal()
                }
            }

            Row {
                objectName: "playingRow"
                visible: root.phase === BlackjackEngine.Phase.playing
                spacing: IslandStyle.spacing
                ArcadeChip { title: "Hit"; selected: true; onClicked: root.engine.hit() }
                ArcadeChip { title: "Stand"; onClicked: root.engine.stand() }
                ArcadeChip {
                    objectName: "doubleChip"
                    visible: root.engine.player.canDouble
                    title: "Double"
                    onClicked: root.engine.doubleDown()
                }
            }
        }
    }

    OwnHowToCard {
        objectName: "blackjackHowTo"
        anchors.fill: parent
        visible: root.phase === BlackjackEngine.Phase.howto
        title: "Pavlet Blackjack"
        detail: "Buy in, then beat the dealer to 21. Hit, stand, or double."
        visual: Component { BlackjackHowToVisual {} }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: IslandStyle.spacingSmall
            Repeater {
                model: root.engine.buyIns
                ArcadeChip {
                    required property double modelData
                    title: "$" + modelData
                    selected: modelData === root.engine.buyIn
                    onClicked: root.engine.buyIn = modelData
                }
            }
        }
        ArcadeChip {
            anchors.horizontalCenter: parent.horizontalCenter
            title: "Play"
            selected: true
            onClicked: root.engine.startBuyIn(root.engine.buyIn)
        }
    }

    GameResultCard {
        objectName: "blackjackResult"
        anchors.fill: parent
        visible: root.phase === BlackjackEngine.Phase.settle || root.phase === BlackjackEngine.Phase.broke
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.engine.message
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontHeadline
            font.weight: Font.DemiBold
            color: IslandPalette.textPrimary
        }
        TabularText {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Bank $" + root.engine.player.bank
            font.pixelSize: IslandStyle.fontFootnote
            color: root.gold
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: IslandStyle.spacing
            ArcadeChip {
                visible: root.phase === BlackjackEngine.Phase.settle
                title: "Next hand"
                selected: true
                onClicked: root.engine.nextHand()
            }
            ArcadeChip {
                title: "Buy in"
                selected: root.phase === BlackjackEngine.Phase.broke
                onClicked: root.engine.stop()
            }
        }
    }
}
