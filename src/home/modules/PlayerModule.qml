import QtQuick
import Pavlet
import Pavlet.Style

// The music player's module on Home: what plays now, shown as the player's
// options say.
ModuleCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    title: qsTr("Now playing")
    accent: IslandPalette.accent(MediaText.sourceAccent(root.model.nowPlaying))
    PlayerPreview {
        width: parent.width
        info: root.model.nowPlaying
        service: root.model.nowPlayingService
        showArtwork: root.settings.playerShowArtwork
        showAlbum: root.settings.playerShowAlbum
        showSkip: root.settings.playerShowSkip
        showPlayBar: root.settings.playerShowPlayBar
        compact: true
        keys: true
        onPlayPauseRequested: root.model.togglePlayPause()
        onSkipped: (forward) => forward ? root.model.refreshNowPlayingSoon() : root.model.refreshNowPlayingSoonAlt()
    }
}
