import QtQuick
import Pavlet

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
