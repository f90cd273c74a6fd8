import QtQuick
import Pavlet
import Pavlet.Style

Item {
    width: GameViews.hubDiscWidth
    height: GameViews.hubDiscHeight
    Stack4Discs {
        anchors.centerIn: parent
        stacks: GameViews.stack4HubStacks()
        disc: GameViews.hubDiscSize
        spacing: GameViews.hubDiscRowSpacing
        stackSpacing: IslandStyle.spacingHair
    }
}
