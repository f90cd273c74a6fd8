import QtQuick
import Pavlet
import Pavlet.Style

Item {
    implicitWidth: discs.implicitWidth
    implicitHeight: GameViews.howToDiscRowHeight
    Stack4Discs {
        id: discs
        anchors.centerIn: parent
        stacks: GameViews.stack4HowToStacks()
        disc: GameViews.howToDiscSize
        spacing: GameViews.howToDiscRowSpacing
        stackSpacing: IslandStyle.spacingTiny
    }
}
