import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The games panel: a header (back button, the page's title and subtitle, the
// mascot on the arcade) over one page: the arcade's cards, or a game's screen.
Item {
    id: root
    // Every game's engine in page order, the page on show (0 is the arcade),
    // and whether the games are the island's state (else this panel is only
    // fading out).
    required property list<QtObject> engines
    required property int page
    required property bool live
    // A game (or the arcade, 0) was chosen; back from the arcade; the
    // pointer came onto the panel.
    signal gameOpened(int game)
    signal homeRequested()
    signal pointerEntered()

    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)

    function goBack() {
        if (root.page !== GameViews.hubPage)
            root.gameOpened(GameViews.hubPage)
        else
            root.homeRequested()
    }

    HoverHandler {
        onHoveredChanged: if (hovered) root.pointerEntered()
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
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: GameViews.pageTitle(root.page)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCallout
                    font.weight: Font.DemiBold
                    color: IslandPalette.textPrimary
                }
                Text {
                    objectName: "gamesSubtitle"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
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

            // The arcade, or the game's screen from the registry with its
            // engine. A game view has a `shown` input that turns false when
            // the page goes (it then stops its engine and its animations).
            // The loader takes no size of its own: it would size a game's
            // screen before its engine is set. The page comes with the
            // frame's size, and the bindings below keep it.
            Loader {
                id: loader
                // Pages are built off the frame; the header shows at once.
                asynchronous: true
                Component.onCompleted: {
                    if (frame.page === GameViews.hubPage)
                        sourceComponent = hubPage
                    else
                        setSource(Qt.resolvedUrl(GameViews.viewSource(frame.page)),
                                  { engine: root.engines[frame.page - 1],
                                    width: frame.width, height: frame.height })
                }
            }
            Binding {
                target: loader.item
                property: "width"
                value: frame.width
                when: loader.item !== null
            }
            Binding {
                target: loader.item
                property: "height"
                value: frame.height
                when: loader.item !== null
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
            width: pageArea.width
            height: pageArea.height
            clip: true
            contentWidth: width
            contentHeight: cards.implicitHeight
            boundsBehavior: Flickable.StopAtBounds

            GameCards {
                id: cardList
                engines: root.engines
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
                        required property string mark
                        width: cards.width
                        accent: resolvesAccent
                                ? IslandPalette.accent(IslandPalette[accentName])
                                : IslandPalette[accentName]
                        preview: Qt.resolvedUrl(mark)
                        onClicked: root.gameOpened(game)
                    }
                }
            }
        }
    }
}
