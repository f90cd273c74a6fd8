import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The games panel: a header (back button, the page's title and subtitle, the
// mascot on the arcade) over one page, chosen by the view model's
// activeGame: the arcade's cards, or a game's screen.
Item {
    id: root
    required property NotchViewModel model
    required property AppSettings settings

    readonly property int page: model.activeGame
    // While the island shows another state this panel is only fading out.
    readonly property bool live: model.state === Island.NotchState.games
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)

    // The page of each game, in the order of the island's game pages. A game
    // view takes its engine and has a `shown` input that turns false when the
    // page goes (it then stops its engine and its animations).
    readonly property list<Component> pages: [
        hubPage, dinoPage, flapPage, wordlePage, pongPage, blocksPage, stackPage,
        reflexPage, toePage, cpsPage, snakePage, patternPage, blackjackPage, stack4Page
    ]

    function goBack() {
        if (root.page !== Island.PavletGame.hub)
            root.model.openGame(Island.PavletGame.hub)
        else
            root.model.openHome()
    }

    HoverHandler {
        onHoveredChanged: if (hovered) root.model.cancelHoverTask()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: IslandStyle.spacingMedium

        RowLayout {
            id: header
            objectName: "gamesHeader"
            Layout.fillWidth: true
            spacing: IslandStyle.spacing

            IslandIconButton {
                objectName: "gamesBack"
                systemName: GameViews.backSymbol(root.page)
                help: GameViews.backHelp(root.page)
                size: GameViews.backButtonSize
                color: root.gold
                onClicked: root.goBack()
            }
            Column {
                spacing: GameViews.titleSpacing
                Text {
                    objectName: "gamesTitle"
                    text: GameViews.pageTitle(root.page)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCallout
                    font.weight: Font.DemiBold
                    color: IslandPalette.textPrimary
                }
                Text {
                    objectName: "gamesSubtitle"
                    text: GameViews.pageSubtitle(root.page)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCaption
                    color: root.gold
                }
            }
            Item { Layout.fillWidth: true; Layout.minimumWidth: IslandStyle.spacing }
            PavletMascot {
                visible: GameViews.showsMascot(root.page)
                size: GameViews.headerMascotSize
                color: root.gold
            }
        }

        Item {
            id: pageArea
            Layout.fillWidth: true
            Layout.fillHeight: true
        }
    }

    // Each page lives in a frame of its own: a new page scales up from just
    // below full size about its top centre while fading in; the page it
    // replaces fades out and is dropped.
    property Item currentFrame: null

    Component {
        id: pageFrame
        Item {
            id: frame
            property int page
            property bool current: true
            readonly property Item view: loader.item
            width: pageArea.width
            height: pageArea.height
            opacity: 0
            scale: GameViews.pageEnterScale
            transformOrigin: Item.Top

            Loader {
                id: loader
                anchors.fill: parent
                // Pages are built off the frame; the header shows at once.
                asynchronous: true
                sourceComponent: root.pages[frame.page]
            }
            Binding {
                target: loader.item
                property: "shown"
                value: frame.current && root.live
                when: loader.item !== null
            }

            function enter() { enterAnim.start() }
            function leave() {
                current = false
                enterAnim.stop()
                leaveAnim.start()
            }

            ParallelAnimation {
                id: enterAnim
                SpringAnimation { target: frame; property: "opacity"; to: 1; spring: IslandStyle.gamePageSpring.spring; damping: IslandStyle.gamePageSpring.damping; epsilon: 0.002 }
                SpringAnimation { target: frame; property: "scale"; to: 1; spring: IslandStyle.gamePageSpring.spring; damping: IslandStyle.gamePageSpring.damping; epsilon: 0.001 }
            }
            SpringAnimation {
                id: leaveAnim
                target: frame; property: "opacity"; to: 0
                spring: IslandStyle.gamePageSpring.spring; damping: IslandStyle.gamePageSpring.damping; epsilon: 0.002
                onFinished: frame.destroy()
            }
        }
    }

    function showPage() {
        if (currentFrame && currentFrame.page === root.page)
            return
        if (currentFrame)
            currentFrame.leave()
        currentFrame = pageFrame.createObject(pageArea, { page: root.page })
        currentFrame.enter()
    }
    onPageChanged: showPage()
    Component.onCompleted: showPage()

    // --- The arcade.
    Component {
        id: hubPage
        Flickable {
            id: hub
            objectName: "arcade"
            property bool shown: true
            clip: true
            contentWidth: width
            contentHeight: cards.implicitHeight
            boundsBehavior: Flickable.StopAtBounds

            GameCards {
                id: cardList
                dino: root.model.dino
                flap: root.model.flap
                wordle: root.model.wordle
                pong: root.model.pong
                blocks: root.model.blocks
                stack: root.model.stack
                reflex: root.model.reflex
                toe: root.model.toe
                cps: root.model.cps
                snake: root.model.snake
                pattern: root.model.pattern
                blackjack: root.model.blackjack
                stack4: root.model.stack4
            }

            Column {
                id: cards
                width: hub.width
                spacing: IslandStyle.spacing
                Repeater {
                    model: cardList
                    GamePickCard {
                        required property int game
                        required property string accentName
                        required property bool resolvesAccent
                        width: cards.width
                        accent: resolvesAccent
                                ? IslandPalette.accent(IslandPalette[accentName])
                                : IslandPalette[accentName]
                        preview: root.previews[game]
                        onClicked: root.model.openGame(game)
                    }
                }
            }
        }
    }

    // The picture on each game's card, by page (the arcade has none).
    readonly property list<Component> previews: [
        noPreview, runPreview, flapPreview, wordlePreview, pongMark, blocksMark, stackMark,
        reflexMark, toeMark, cpsMark, snakeMark, patternMark, blackjackMark, stack4Mark
    ]
    Component { id: noPreview; Item {} }
    Component {
        id: runPreview
        PavletMascot { size: GameViews.runPreviewSize; legs: GameViews.runPreviewLegs; color: root.gold }
    }
    Component {
        id: flapPreview
        PavletMascot {
            size: GameViews.flapPreviewSize
            tilt: GameViews.flapPreviewTilt
            color: IslandPalette.accent(IslandPalette.sky)
        }
    }
    Component { id: wordlePreview; WordlePavPile {} }
    Component { id: toeMark; ToeHubMark {} }
    Component { id: patternMark; PatternHubMark {} }
    Component { id: blackjackMark; BlackjackHubMark {} }
    Component { id: stack4Mark; Stack4HubMark {} }
    Component { id: pongMark; PongHubMark {} }
    Component { id: blocksMark; BlocksHubMark {} }
    Component { id: stackMark; StackHubMark {} }
    Component { id: reflexMark; ReflexHubMark {} }
    Component { id: cpsMark; CPSHubMark {} }
    Component { id: snakeMark; SnakeHubMark {} }

    // --- The games.
    Component { id: dinoPage; DinoGameView { engine: root.model.dino } }
    Component { id: flapPage; FlapGameView { engine: root.model.flap } }
    Component { id: wordlePage; WordleGameView { engine: root.model.wordle; rows: GameViews.keyRows } }
    Component { id: pongPage; PongGameView { engine: root.model.pong } }
    Component { id: blocksPage; BlocksGameView { engine: root.model.blocks } }
    Component { id: stackPage; StackGameView { engine: root.model.stack } }
    Component { id: reflexPage; ReflexGameView { engine: root.model.reflex } }
    Component { id: toePage; ToeGameView { engine: root.model.toe } }
    Component { id: cpsPage; CPSGameView { engine: root.model.cps } }
    Component { id: snakePage; SnakeGameView { engine: root.model.snake } }
    Component { id: patternPage; PatternGameView { engine: root.model.pattern } }
    Component { id: blackjackPage; BlackjackGameView { engine: root.model.blackjack } }
    Component { id: stack4Page; Stack4GameView { engine: root.model.stack4 } }
}
