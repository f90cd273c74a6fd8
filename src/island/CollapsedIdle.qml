import QtQuick
import Pavlet
import Pavlet.Style

// The collapsed island's side indicator: the ticking clock while a timer runs,
// else the playing bars, else the smile, else nothing.
Item {
    id: root
    property bool playing: false
    property color playingColor: IslandPalette.white
    property bool showVisualizer: false
    property bool showSmile: false
    property bool timerRunning: false

    readonly property idleChoice choice: IslandViews.collapsedIdle(playing, showVisualizer, showSmile, timerRunning)

    width: choice.width
    height: choice.height

    Loader {
        anchors.centerIn: parent
        sourceComponent: root.choice.showsClock ? clock
                       : root.choice.showsBars ? bars
                       : root.choice.showsSmile ? smile : null
    }
    Component {
        id: clock
        TickingClock { size: IslandViews.idleClockSize; color: IslandPalette.amber }
    }
    Component {
        id: bars
        PlayingBars { height: IslandStyle.spacing; color: root.playingColor }
    }
    Component {
        id: smile
        BlinkSmile {}
    }
}
