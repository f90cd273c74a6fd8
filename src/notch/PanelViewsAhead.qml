import QtQml
import Pavlet

// The panels reached from Home, compiled in the background once Home has
// opened, so that a user who never opens the island does not carry them.
// Nothing here is created.
QtObject {
    readonly property list<Component> views: [
        Component { MirrorPanel {} },
        Component { CanvasPanel {} },
        Component { GamesPanel {} },
        Component { CalculatorPanel {} },
        Component { PocketPanel {} },
        Component { VoiceMemosPanel {} },
        Component { TranslatorPanel {} },
        Component { UpdatePanel {} }
    ]
}
