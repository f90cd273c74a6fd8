import QtQml
import Pavlet

// The views the island opens, compiled in the background soon after start so
// that their first opening builds them without first compiling them. A new
// state's view or panel goes in this list; nothing here is created.
QtObject {
    readonly property list<Component> views: [
        Component { HoverIsland {} },
        Component { SystemHUDIsland {} },
        Component { MirrorPanel {} },
        Component { CompactIsland {} },
        Component { HomePanel {} },
        Component { CanvasPanel {} },
        Component { GamesPanel {} },
        Component { CalculatorPanel {} },
        Component { PocketPanel {} },
        Component { VoiceMemosPanel {} },
        Component { TranslatorPanel {} },
        Component { UpdatePanel {} }
    ]
}
