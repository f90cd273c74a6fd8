import QtQuick
import Pavlet
import Pavlet.Style

// The YouTube save module on Home.
MediaDownloadCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    title: qsTr("YouTube")
    accent: IslandPalette.accent(IslandPalette.red)
    engine: root.model.youtubeDown
}
