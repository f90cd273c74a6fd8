import QtQuick
import Pavlet

Item {
    width: GameViews.hubMarkWidth
    height: GameViews.hubMarkHeight
    ToeMiniBoard { anchors.centerIn: parent; cell: GameViews.toeHubCell }
}
