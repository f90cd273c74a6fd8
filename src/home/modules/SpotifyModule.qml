import QtQuick
import Pavlet
import Pavlet.Style

// The Spotify save module on Home.
MediaDownloadCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    title: qsTr("Spotify MP3")
    accent: IslandPalette.accent(IslandPalette.green)
    engine: root.model.spotifyDown
}
