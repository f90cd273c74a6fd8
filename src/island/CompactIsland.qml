import QtQuick
import Pavlet

// What the collapsed island carries beside the notch: the track's artwork at
// the leading side, and the lock or the idle indicator at the trailing side;
// the game-mode toast instead of both while it shows.
Item {
    id: root
    property var model
    property var settings

    function accent(name) { return IslandPalette.accent(IslandPalette[name], IslandPalette.accentRevision) }

    CompactRules {
        id: rules
        nowPlaying: root.model ? root.model.nowPlaying : null
        timerRunning: root.model && root.model.timer ? root.model.timer.isRunning : false
        previewingPlayer: root.model ? root.model.isPreviewingPlayer : false
        previewingTimer: root.model ? root.model.isPreviewingTimer : false
        previewingAmbient: root.model ? root.model.isPreviewingAmbient : false
        showAmbientSmile: root.settings ? root.settings.showAmbientSmile : false
        playerHidden: root.settings ? (root.settings.disabledModules, !root.settings.isModuleEnabled("player")) : false
        showVisualizer: root.settings ? root.settings.playerShowVisualizer : false
        gameModeHidden: root.settings ? (root.settings.disabledModules, !root.settings.isModuleEnabled("gameMode")) : false
        gameModeOn: root.model ? root.model.gameModeOn : false
        gameModeHover: root.model ? root.model.gameModeHover : false
        gameModeToast: root.model ? root.model.gameModeToast : false
        floating: root.model ? root.model.usesFloatingIsland : false
        notchHeight: root.model ? root.model.notchHeight : 32
    }
    readonly property alias rules: rules

    // The toast sits at the bottom, below the notch.
    GameModeToast {
        id: toast
        visible: rules.showsToast
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        isOn: root.model ? root.model.gameModeOn : false
        hotkey: "Ctrl+Alt+G"
    }

    Item {
        id: row
        visible: !rules.showsToast
        anchors.left: parent.left
        anchors.right: parent.right
        y: rules.floating ? (root.height - height) / 2 : rules.rowTop
        height: 20

        Loader {
            anchors.left: parent.left
            anchors.leftMargin: rules.leadingPad
            anchors.verticalCenter: parent.verticalCenter
            active: rules.showsArtwork
            sourceComponent: ArtworkView {
                size: 20
                corner: 5
                accent: root.accent(rules.artworkColorName)
                symbol: rules.artworkSymbol
                image: root.model && root.model.nowPlaying && root.model.nowPlaying.hasArtwork
                       ? "image://artwork/" + root.model.nowPlaying.artworkKey : ""
            }
        }

        Symbol {
            id: lock
            visible: rules.trailing === "lock"
            anchors.right: parent.right
            anchors.rightMargin: rules.trailingPad
            anchors.verticalCenter: parent.verticalCenter
            name: visible ? "lock.fill" : ""
            size: 12
            color: root.accent("yellow")
        }

        CollapsedIdle {
            id: idle
            visible: rules.trailing === "idle"
            anchors.right: parent.right
            anchors.rightMargin: rules.trailingPad
            anchors.verticalCenter: parent.verticalCenter
            playing: rules.showsBars
            playingColor: root.accent(rules.barsColorName)
            showVisualizer: rules.showsBars
            showSmile: rules.showSmile
            timerRunning: rules.showsTimer
        }
    }
}
