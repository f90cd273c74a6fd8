import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The now-playing row: artwork, title and source, the transport buttons and
// the play bar, in a regular or a compact size.
Column {
    id: root
    required property nowPlayingInfo info
    required property NowPlayingService service
    // What the user chose to show: artwork, album, skip buttons, play bar.
    required property bool showArtwork
    required property bool showAlbum
    required property bool showSkip
    required property bool showPlayBar
    property bool compact: false
    // Its buttons are stops of the Tab order.
    property bool keys: false
    // Play or pause was clicked; a skip went to the player.
    signal playPauseRequested()
    signal skipped(bool forward)

    readonly property bool idle: info.title.length === 0 && info.artist.length === 0
    readonly property color accent: IslandPalette.accent(MediaText.sourceAccent(info))
    readonly property bool showsBar: MediaText.showsPlayBar(info, showPlayBar)

    spacing: compact ? 8 : 10

    RowLayout {
        width: root.width
        spacing: root.compact ? 10 : 14
        ArtworkView {
            visible: root.showArtwork
            size: root.compact ? 36 : 56
            corner: root.compact ? 8 : 12
            accent: root.accent
            symbol: MediaText.artworkSymbol(root.info)
            image: root.info.hasArtwork ? root.service.artworkSource(root.info) : ""
        }
        Column {
            Layout.fillWidth: true
            spacing: IslandStyle.spacingHair
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                width: parent.width
                text: MediaText.playerTitle(root.info)
                font.family: IslandStyle.roundedFamily
                font.pixelSize: root.compact ? IslandStyle.fontCallout : IslandStyle.fontHeadline
                font.weight: Font.DemiBold
                color: IslandPalette.textPrimary
                elide: Text.ElideRight
                maximumLineCount: 1
            }
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                width: parent.width
                text: MediaText.playerSubtitle(root.info, root.showAlbum)
                font.family: IslandStyle.roundedFamily
                font.pixelSize: root.compact ? IslandStyle.fontFootnote : IslandStyle.fontBody
                color: root.idle ? IslandPalette.textSecondary : IslandPalette.faded(root.accent, 0.9)
                elide: Text.ElideRight
                maximumLineCount: 1
            }
        }
        Row {
            spacing: IslandStyle.spacingHair
            MediaButton {
                anchors.verticalCenter: parent.verticalCenter
                visible: root.showSkip
                systemName: "backward.end.fill"
                size: root.compact ? 10 : 11
                compact: root.compact
                accent: root.accent
                keys: root.keys
                onClicked: {
                    root.service.previousTrack()
                    root.skipped(false)
                }
            }
            MediaButton {
                anchors.verticalCenter: parent.verticalCenter
                systemName: root.info.isPlaying ? "pause.fill" : "play.fill"
                size: root.compact ? 12 : 13
                emphasized: true
                compact: root.compact
                accent: root.accent
                keys: root.keys
                onClicked: root.playPauseRequested()
            }
            MediaButton {
                anchors.verticalCenter: parent.verticalCenter
                visible: root.showSkip
                systemName: "forward.end.fill"
                size: root.compact ? 10 : 11
                compact: root.compact
                accent: root.accent
                keys: root.keys
                onClicked: {
                    root.service.nextTrack()
                    root.skipped(true)
                }
            }
        }
    }

    Loader {
        width: root.width
        active: root.showsBar
        visible: active
        sourceComponent: Column {
            spacing: IslandStyle.spacingTiny
            AnimationTicker { id: ticker; running: root.visible && root.info.isPlaying; fps: 20 }
            readonly property date now: ticker.now
            readonly property double position: MediaText.playbackPosition(root.info, now)
            Rectangle {
                width: root.width
                height: MediaText.playBarHeight
                radius: height / 2
                color: IslandPalette.fill
                Rectangle {
                    height: parent.height
                    radius: height / 2
                    width: MediaText.playBarFill(MediaText.playbackFraction(root.info, parent.parent.now), parent.width)
                    color: root.accent
                }
            }
            Item {
                width: root.width
                height: length.implicitHeight
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: MediaText.playbackTime(parent.parent.position)
                    font.family: IslandStyle.digitsFamily
                    font.pixelSize: IslandStyle.fontCaption
                    color: IslandPalette.textTertiary
                }
                Text {
                    id: length
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    anchors.right: parent.right
                    text: MediaText.playbackTime(root.info.duration)
                    font.family: IslandStyle.digitsFamily
                    font.pixelSize: IslandStyle.fontCaption
                    color: IslandPalette.textTertiary
                }
            }
        }
    }
}
