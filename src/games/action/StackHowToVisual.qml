import QtQuick
import Pavlet
import Pavlet.Style

// Three bars, the gold one on top sliding off to the left.
StackBars {
    bars: ActionViews.stackHowToBars
    barHeight: ActionViews.stackBarHeight
    barRadius: ActionViews.stackBarRadius
    spacing: IslandStyle.spacingSmall
    implicitHeight: ActionViews.stackVisualHeight
}
