import QtQml
import Pavlet

// The views the island opens, compiled in the background soon after start so
// that their first opening builds them without first compiling them. A new
// state's view goes in this list.
QtObject {
    readonly property list<Component> views: [
        Component { HoverIsland {} },
        Component { SystemHUDIsland {} },
        Component { MirrorPanel {} },
        Component { CompactIsland {} }
    ]
}
