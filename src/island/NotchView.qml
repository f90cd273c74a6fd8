import QtQuick
import Pavlet

// The island's root view. Back to front: the black outline, a glow while a
// timer runs or a pulse shows, a black cover that leaves only a rim of the
// glow, the red outline while the island is edited, the content of the
// state, a volume or brightness pulse over an open panel, and the drop hint.
Item {
    id: root
    property var model
    property var settings
    // Permission reads for the hover island's weather (optional).
    property var permissions: null

    readonly property int islandState: model ? model.state : Island.NotchState.collapsed
    readonly property bool floating: model ? model.usesFloatingIsland : false
    readonly property real notchHeight: model ? model.notchHeight : 32
    // The outline's corner radius; the island's window animates it with the
    // frame and sets it here.
    property real radius: IslandViews.cornerRadius(islandState, floating,
                                                            settings ? settings.lipCornerRadius : 10)
    readonly property bool pocketHidden: settings ? (settings.disabledModules, !settings.isModuleEnabled("pocket")) : false
    readonly property bool hudPresent: model ? !!model.hud : false
    readonly property var glow: IslandViews.glow(model && model.timer ? model.timer.isRunning : false,
                                                 model ? model.isPreviewingTimer : false,
                                                 model ? !!model.ambient : false,
                                                 model ? model.isPreviewingAmbient : false,
                                                 model ? model.showsAmbientOrCamera : 0)

    readonly property var stateSpring: IslandViews.spring(0.36, 0.84)
    readonly property var quickSpring: IslandViews.spring(0.26, 0.78)
    readonly property var dropSpring: IslandViews.spring(0.2, 0.68)
    // The content shown for the current state (null when collapsed).
    property Item content: null

    // 1. The outline, with a shadow when floating.
    IslandShadow {
        visible: root.floating
        x: -blurRadius
        y: -blurRadius + 3
        width: parent.width + 2 * blurRadius
        height: parent.height + 2 * blurRadius
        blurRadius: 10
        cornerRadius: root.radius
        color: Qt.rgba(0, 0, 0, 0.4)
    }
    IslandShape {
        anchors.fill: parent
        cornerRadius: root.radius
        floating: root.floating
        fillColor: "black"
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
        on: root.glow.kind === "timer"
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
        on: root.glow.kind === "ambient"
        onOnChanged: if (on) kind = root.glow.ambientKind
        glow: AmbientGlow {
            kind: root.glow.kind === "ambient" ? root.glow.ambientKind : ambientBox.kind
            radius: root.radius
            floating: root.floating
        }
    }

    // 3. The cover: only a 2.4 pt rim of the glow stays visible.
    IslandShape {
        anchors.fill: parent
        anchors.margins: 2.4
        cornerRadius: root.radius
        floating: root.floating
        fillColor: "black"
    }

    // 4. The editor's outline; it takes no clicks.
    IslandShape {
        fillColor: "transparent"
        anchors.fill: parent
        visible: root.model ? root.model.isEditingIsland : false
        cornerRadius: root.radius
        floating: root.floating
        strokeColor: Qt.rgba(1.0, 0.16, 0.2, 1)
        strokeWidth: 2.4
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
            width: root.width
            height: root.height
            opacity: 0
            scale: 0.96
            transformOrigin: Item.Top
            y: -8

            function enter() { leaveAnim.stop(); enterAnim.start() }
            function leave() { enterAnim.stop(); leaveAnim.start() }

            Loader {
                anchors.fill: parent
                anchors.leftMargin: IslandViews.horizontalInset(frame.forState)
                anchors.rightMargin: IslandViews.horizontalInset(frame.forState)
                anchors.topMargin: IslandViews.contentTopInset(frame.forState, root.floating, root.notchHeight)
                anchors.bottomMargin: IslandViews.bottomInset(frame.forState)
                sourceComponent: root.componentFor(frame.forState)
                // A panel is built between frames while its frame fades in.
                asynchronous: frame.forState !== Island.NotchState.hover && frame.forState !== Island.NotchState.hud
            }

            ParallelAnimation {
                id: enterAnim
                SpringAnimation { target: frame; property: "opacity"; to: 1; spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.002 }
                SpringAnimation { target: frame; property: "scale"; to: 1; spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.001 }
                SpringAnimation { target: frame; property: "y"; to: 0; spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.05 }
            }
            ParallelAnimation {
                id: leaveAnim
                SpringAnimation { target: frame; property: "opacity"; to: 0; spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.002 }
                SpringAnimation { target: frame; property: "scale"; to: 0.84; spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.001 }
                SpringAnimation { target: frame; property: "y"; to: 12; spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.05 }
                onFinished: frame.destroy()
            }
        }
    }
    Component {
        id: hoverView
        HoverIsland {
            model: root.model
            settings: root.settings
            showClock: root.settings ? root.settings.showClockWhenIdle : false
            wantLocation: root.permissions ? root.permissions.wants("location") : true
            locationGranted: root.permissions ? root.permissions.status("location") === 0 : true
        }
    }
    Component {
        id: hudView
        SystemHUDIsland {
            visible: !!pulse
            pulse: root.model ? root.model.hud : null
        }
    }
    Component {
        id: mirrorView
        MirrorPanel { model: root.model }
    }
    Component {
        id: homeView
        HomePanel { model: root.model; settings: root.settings }
    }
    Component {
        id: canvasView
        CanvasPanel { model: root.model; settings: root.settings }
    }
    Component {
        id: gamesView
        GamesPanel { model: root.model; settings: root.settings }
    }
    Component {
        id: calculatorView
        CalculatorPanel { model: root.model; settings: root.settings }
    }
    Component {
        id: pocketView
        PocketPanel { model: root.model; settings: root.settings }
    }
    Component {
        id: voiceView
        VoiceMemosPanel { model: root.model; settings: root.settings }
    }
    Component {
        id: translatorView
        TranslatorPanel { model: root.model; settings: root.settings }
    }
    Component {
        id: updateView
        UpdatePanel { model: root.model; settings: root.settings }
    }

    // The content view of each open state.
    function componentFor(state) {
        switch (state) {
        case Island.NotchState.hover: return hoverView
        case Island.NotchState.hud: return hudView
        case Island.NotchState.mirror: return mirrorView
        case Island.NotchState.home: return homeView
        case Island.NotchState.canvas: return canvasView
        case Island.NotchState.games: return gamesView
        case Island.NotchState.calculator: return calculatorView
        case Island.NotchState.pocket: return pocketView
        case Island.NotchState.voice: return voiceView
        case Island.NotchState.translator: return translatorView
        case Island.NotchState.update: return updateView
        }
        return null
    }

    function showState() {
        if (content)
            content.leave()
        content = null
        if (islandState !== Island.NotchState.collapsed) {
            content = stateFrame.createObject(contentLayer, { forState: islandState })
            content.enter()
        }
    }
    onIslandStateChanged: showState()
    Component.onCompleted: showState()

    Item {
        id: contentLayer
        anchors.fill: parent
    }

    // 6. A volume or brightness pulse over an open panel.
    Item {
        id: hudOverlay
        readonly property bool shown: IslandViews.showsHudOverlay(root.islandState, root.hudPresent)
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        y: IslandViews.hudOverlayTop(root.floating, root.notchHeight)
        height: 18
        opacity: shown ? 1 : 0
        scale: shown ? 1 : 0.96
        visible: opacity > 0.001
        Behavior on opacity { SpringAnimation { spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.002 } }
        Behavior on scale { SpringAnimation { spring: root.stateSpring.spring; damping: root.stateSpring.damping; epsilon: 0.001 } }
        Loader {
            anchors.fill: parent
            active: root.hudPresent
            sourceComponent: SystemHUDIsland { pulse: root.model ? root.model.hud : null }
        }
    }

    // 7. The drop hint; it takes no part in the drop itself.
    Item {
        id: dropHint
        anchors.fill: parent
        readonly property bool shown: IslandViews.showsDropHint(root.model ? root.model.fileDropTargeted : false,
                                                                root.pocketHidden, root.islandState)
        readonly property color coral: IslandPalette.accent(IslandPalette.coral, IslandPalette.accentRevision)
        opacity: shown ? 1 : 0
        visible: opacity > 0.001
        Behavior on opacity { SpringAnimation { spring: root.dropSpring.spring; damping: root.dropSpring.damping; epsilon: 0.002 } }
        IslandShape {
            fillColor: "transparent"
            anchors.fill: parent
            cornerRadius: root.radius
            floating: root.floating
            strokeColor: dropHint.coral
            strokeWidth: 2
        }
        Text {
            anchors.centerIn: parent
            text: qsTr("Drop in Pocket")
            font.pixelSize: 12
            font.weight: Font.Medium
            color: dropHint.coral
        }
    }
}
