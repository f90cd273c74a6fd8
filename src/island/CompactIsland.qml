import QtQuick
import Pavlet
import Pavlet.Style

// What the collapsed island carries beside the notch: the track's artwork at
// the leading side, and the lock or the idle indicator at the trailing side;
// the game-mode toast instead of both while it shows.
Item {
    id: root
    required property NotchViewModel model
    required property AppSettings settings

    readonly property compactLayout layout: model.look.compact
    // What the hover line would say, for a screen reader: the island at rest
    // lays out no text of its own.
    Accessible.role: Accessible.StaticText
    Accessible.name: model.look.hover.title

    function accent(color) { return IslandPalette.accent(color) }

    // The toast sits at the bottom, below the notch; made only while it
    // shows, so that the island at rest lays out no text.
    Loader {
        active: root.layout.showsToast
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        sourceComponent: GameModeToast { isOn: root.model.gameModeOn }
    }

    Item {
        id: row
        visible: !root.layout.showsToast
        anchors.left: parent.left
        anchors.right: parent.right
        y: root.model.usesFloatingIsland ? (root.height - height) / 2 : root.layout.rowTop
        height: IslandViews.compactRowHeight

        Loader {
            anchors.left: parent.left
            anchors.leftMargin: root.layout.leadingPad
            anchors.verticalCenter: parent.verticalCenter
            active: root.layout.showsArtwork
            sourceComponent: ArtworkView {
                size: IslandViews.compactRowHeight
                corner: IslandViews.artworkCorner
                accent: root.accent(root.layout.artworkColor)
                symbol: root.layout.artworkSymbol
                image: root.model.look.artwork
            }
        }

        Symbol {
            id: lock
            visible: root.layout.showsLock
            anchors.right: parent.right
            anchors.rightMargin: root.layout.trailingPad
            anchors.verticalCenter: parent.verticalCenter
            name: visible ? "lock.fill" : ""
            size: IslandStyle.fontBody
            color: root.accent(IslandPalette.yellow)
        }

        CollapsedIdle {
            id: idle
            visible: root.layout.showsIdle
            anchors.right: parent.right
            anchors.rightMargin: root.layout.trailingPad
            anchors.verticalCenter: parent.verticalCenter
            playing: root.layout.showsBars
            playingColor: root.accent(root.layout.barsColor)
            showVisualizer: root.layout.showsBars
            showSmile: root.layout.showSmile
            timerRunning: root.layout.showsTimer
        }
    }
}
