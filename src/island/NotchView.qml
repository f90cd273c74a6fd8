import QtQuick
import Pavlet
import Pavlet.Style

// The island's root view. Back to front: the black outline, a glow while a
// timer runs or a pulse shows, a black cover that leaves only a rim of the
// glow, the red outline while the island is edited, the content of the
// state, a volume or brightness pulse over an open panel, and the drop hint.
Item {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    // The panels of the open states, from the layer that makes the window.
    property IslandPanels panels: IslandPanels {}

    readonly property IslandLook look: model.look
    readonly property int islandState: model.state
    readonly property bool floating: model.usesFloatingIsland
    // The outline's corner radius; the island's window animates it with the
    // frame and sets it here.
    property real radius: look.cornerRadius
    readonly property islandGlow glow: look.glow

    readonly property springSpec stateSpring: IslandStyle.stateSpring
    readonly property springSpec quickSpring: IslandStyle.quickSpring
    readonly property springSpec dropSpring: IslandStyle.pressSpring
    // The content shown for the current state (null when collapsed).
    property Item content: null

    // 1. The outline, with a shadow when floating.
    IslandShadow {
        visible: root.floating
        x: -blurRadius
        y: -blurRadius + IslandViews.shadowOffset
        width: parent.width + 2 * blurRadius
        height: parent.height + 2 * blurRadius
        blurRadius: IslandViews.shadowRadius
        cornerRadius: root.radius
        color: IslandPalette.shadow
    }
    IslandShape {
        anchors.fill: parent
        cornerRadius: root.radius
        floating: root.floating
        fillColor: IslandPalette.black
    }

    // 2. The glow, fading in and out with the timer's and the pulse's spring.
    component GlowBox: Item {
        id: box
        property bool on: false
        property Component glow
        anchors.fill: parent
        opacity: on ? 1 : 0
        Behavior on opacity {
            SpringAnimation { spring: root.quickSpring.spring; damping: root.quickSpring.damping; epsilon: 0.002 }
        }
        Loader {
            anchors.fill: parent
            active: box.opacity > 0.001
            sourceComponent: box.glow
        }
    }
    GlowBox {
        on: root.glow.timer
        glow: TimerGlow {
            radius: root.radius
            floating: root.floating
            yellow: IslandPalette.amber
        }
    }
    GlowBox {
        id: ambientBox
        // The kind stays while the rim fades out.
        property int kind: 0
        on: root.glow.ambient
        onOnChanged: if (on) kind = root.glow.ambientKind
        glow: AmbientGlow {
            kind: root.glow.ambient ? root.glow.ambientKind : ambientBox.kind
            radius: root.radius
            floating: root.floating
        }
    }

    // 3. The cover: only a 2.4 pt rim of the glow stays visible.
    IslandShape {
        anchors.fill: parent
        anchors.margins: IslandStyle.strokeBold
        cornerRadius: root.radius
        floating: root.floating
        fillColor: IslandPalette.black
    }

    // 4. The editor's outline; it takes no clicks.
    IslandShape {
        fillColor: IslandPalette.clear
        anchors.fill: parent
        visible: root.model.isEditingIsland
        cornerRadius: root.radius
        floating: root.floating
        strokeColor: IslandPalette.editOutline
        strokeWidth: IslandStyle.strokeBold
    }

    // 5. The content: the compact island while collapsed...
    CompactIsland {
        id: compact
        anchors.fill: parent
        model: root.model
        settings: root.settings
        opacity: root.islandState === Island.NotchState.collapsed ? 1 : 0
        visible: opacity > 0.001
        Behavior on opacity {
            SpringAnimation { spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.002 }
        }
    }

    // ...else the view of the state, replaced with a transition on every change.
    Component {
        id: stateFrame
        Item {
            id: frame
            property int forState
            // Made ahead and kept hidden until shown.
            property bool ahead: false
            visible: !ahead
            width: root.width
            height: root.height
            opacity: 0
            scale: IslandViews.enterScale
            transformOrigin: Item.Top
            y: IslandViews.enterOffset

            readonly property bool entering: enterAnim.running
            function enter() { ahead = false; leaveAnim.stop(); enterAnim.start() }
            // A leaving view takes no more input: a click on its fading buttons
            // must not start what the closing island has just ended.
            function leave() { frame.enabled = false; enterAnim.stop(); leaveAnim.start() }

            readonly property islandInsets insets: root.look.insets[frame.forState]
            Loader {
                anchors.fill: parent
                anchors.leftMargin: frame.insets.horizontal
                anchors.rightMargin: frame.insets.horizontal
                anchors.topMargin: frame.insets.top
                anchors.bottomMargin: frame.insets.bottom
                sourceComponent: root.componentFor(frame.forState)
            }

            ParallelAnimation {
                id: enterAnim
                SpringAnimation { target: frame; property: "opacity"; to: 1; spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.002 }
                SpringAnimation { target: frame; property: "scale"; to: 1; spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.001 }
                SpringAnimation { target: frame; property: "y"; to: 0; spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.05 }
                onFinished: if (frame.forState === Island.NotchState.hover) root.prepareHome()
            }
            ParallelAnimation {
                id: leaveAnim
                SpringAnimation { target: frame; property: "opacity"; to: 0; spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.002 }
                SpringAnimation { target: frame; property: "scale"; to: IslandViews.leaveScale; spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.001 }
                SpringAnimation { target: frame; property: "y"; to: IslandViews.leaveOffset; spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.05 }
                onFinished: frame.destroy()
            }
        }
    }
    Component {
        id: hoverView
        HoverIsland {
            model: root.model
            settings: root.settings
        }
    }
    Component {
        id: hudView
        SystemHUDIsland {
            visible: root.look.hudPresent
            look: root.look.hud
        }
    }
    // The mirror loads by its address, so that neither it nor the camera's
    // libraries are compiled before the island first shows.
    Component {
        id: mirrorView
        Loader {
            Component.onCompleted: setSource(Qt.resolvedUrl("MirrorPanel.qml"),
                                             { model: root.model, settings: root.settings })
        }
    }

    // The content view of each open state.
    function componentFor(state) {
        switch (state) {
        case Island.NotchState.hover: return hoverView
        case Island.NotchState.hud: return hudView
        case Island.NotchState.mirror: return mirrorView
        case Island.NotchState.home: return root.panels.home
        case Island.NotchState.canvas: return root.panels.canvas
        case Island.NotchState.games: return root.panels.games
        case Island.NotchState.calculator: return root.panels.calculator
        case Island.NotchState.pocket: return root.panels.pocket
        case Island.NotchState.voice: return root.panels.voice
        case Island.NotchState.translator: return root.panels.translator
        case Island.NotchState.update: return root.panels.update
        }
        return null
    }

    function showState() {
        if (content)
            content.leave()
        content = null
        if (islandState === Island.NotchState.home && homeAhead) {
            content = homeAhead
            homeAhead = null
            content.enter()
        } else if (islandState !== Island.NotchState.collapsed) {
            content = stateFrame.createObject(contentLayer, { forState: islandState })
            content.enter()
        }
        if (islandState === Island.NotchState.home)
            homeShown = true
        if (islandState !== Island.NotchState.hover)
            prepareHome()
    }
    onIslandStateChanged: showState()
    Component.onCompleted: showState()
    // The panels may come after the hover view has come to rest.
    onPanelsChanged: if (content && content.forState === Island.NotchState.hover && !content.entering)
                         prepareHome()

    // The first Home is made while the island hovers, once the hover view
    // has come to rest, so that its opening has only to show it. Later
    // openings make it at once: by then its views, pictures and glyphs are
    // at hand.
    property Item homeAhead: null
    property bool homeShown: false
    function prepareHome() {
        const wanted = !homeShown && islandState === Island.NotchState.hover
                       && root.panels.home !== null
        if (wanted && !homeAhead) {
            homeAhead = stateFrame.createObject(contentLayer, { forState: Island.NotchState.home,
                                                                ahead: true })
        } else if (!wanted && homeAhead) {
            homeAhead.destroy()
            homeAhead = null
        }
    }

    Item {
        id: contentLayer
        anchors.fill: parent
    }

    // 6. A volume or brightness pulse over an open panel.
    Item {
        id: hudOverlay
        readonly property bool shown: root.look.showsHudOverlay
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: IslandStyle.spacingXLarge
        anchors.rightMargin: IslandStyle.spacingXLarge
        y: root.look.hudOverlayTop
        height: IslandStyle.spacingHuge
        opacity: shown ? 1 : 0
        scale: shown ? 1 : IslandViews.enterScale
        visible: opacity > 0.001
        Behavior on opacity { SpringAnimation { spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.002 } }
        Behavior on scale { SpringAnimation { spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.001 } }
        Loader {
            anchors.fill: parent
            active: root.look.hudPresent
            sourceComponent: SystemHUDIsland { look: root.look.hud }
        }
    }

    // 7. The drop hint; it takes no part in the drop itself.
    Item {
        id: dropHint
        anchors.fill: parent
        readonly property bool shown: root.look.showsDropHint
        readonly property color coral: IslandPalette.accent(IslandPalette.coral)
        opacity: shown ? 1 : 0
        visible: opacity > 0.001
        Behavior on opacity { SpringAnimation { spring: root.dropSpring.spring; damping: root.dropSpring.damping; epsilon: 0.002 } }
        IslandShape {
            fillColor: IslandPalette.clear
            anchors.fill: parent
            cornerRadius: root.radius
            floating: root.floating
            strokeColor: dropHint.coral
            strokeWidth: IslandStyle.stroke
        }
        // Its text is laid out only while it shows.
        Loader {
            anchors.centerIn: parent
            active: dropHint.visible
            sourceComponent: Text {
                textFormat: Text.PlainText
                text: qsTr("Drop in Pocket")
                font.pixelSize: IslandStyle.fontBody
                font.family: IslandStyle.roundedFamily
                font.weight: Font.Medium
                color: dropHint.coral
            }
        }
    }
}
