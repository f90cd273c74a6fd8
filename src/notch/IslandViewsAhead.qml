import QtQml
import Pavlet

// The views the island opens from rest, compiled in the background soon
// after start so that their first opening builds them without first
// compiling them. A view reached from rest goes in this list; Home and the
// panels it leads to are compiled as the island first opens (NotchIsland.qml)
// and stay out of the island at rest. Nothing here is created.
QtObject {
    readonly property list<Component> views: [
        Component { HoverIsland {} },
        Component { SystemHUDIsland {} },
        Component { CompactIsland {} }
    ]
}
