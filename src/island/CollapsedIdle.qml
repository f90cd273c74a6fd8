import QtQuick
import Pavlet

// The collapsed island's side indicator: the ticking clock while a timer runs,
// else the playing bars, else the smile, else nothing.
Item {
    id: root
    property bool playing: false
    property color playingColor: "white"
    property bool showVisualizer: false
    property bool showSmile: false
    property bool timerRunning: false

    readonly property var choice: IslandViews.collapsedIdle(playing, showVisualizer, showSmile, timerRunning)
    readonly property string indicator: choice.indicator

    width: choice.width
    height: choice.height

    Loader {
        anchors.centerIn: parent
        sourceComponent: root.indicator === "clock" ? clock
                       : root.indicator === "bars" ? bars
                       : root.indicator === "smile" ? smile : null
    }
    Component {
        id: clock
        TickingClock { size: 13; color: IslandPalette.amber }
    }
    Component {
        id: bars
        PlayingBars { height: 8; color: root.playingColor }
    }
    Component {
        id: smile
        BlinkSmile {}
    }
}
