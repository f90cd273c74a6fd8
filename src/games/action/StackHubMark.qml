import QtQuick
import Pavlet
import Pavlet.Style

// The Stack card's picture: three capsules, widening downwards.
StackBars {
    width: GameViews.hubMarkWidth
    height: GameViews.hubMarkHeight
    bars: ActionViews.stackHubBars
    barHeight: ActionViews.stackHubBarHeight
    barRadius: ActionViews.stackHubBarHeight / 2
    spacing: IslandStyle.spacingHair
}
