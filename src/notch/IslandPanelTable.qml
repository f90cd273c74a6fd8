import QtQuick
import Pavlet

// The program's panels for the island's open states, each given what it
// shows from the island's model and answered through the model's operations.
IslandPanels {
    id: table
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeParts homeParts

    home: Component {
        HomePanel { model: table.model; settings: table.settings; parts: table.homeParts }
    }
    canvas: Component {
        CanvasPanel {
            board: table.model.canvasBoard
            greeting: table.model.greeting
            firstName: table.model.canvasFirstName
            hasCredentials: table.model.canvasHasCredentials
            waitingForKeyring: table.model.canvasWaitingForKeyring
            keyringProblem: table.model.canvasKeyringProblem
            problem: table.model.canvasProblem
            loading: table.model.canvasLoading
            service: table.model.canvasService
            onPointerEntered: table.model.cancelHoverTask()
            onHomeRequested: table.model.openHome()
            onAssignmentOpened: (item) => table.model.openAssignment(item)
        }
    }
    games: Component {
        GamesPanel {
            engines: table.model.gameEngines
            page: table.model.activeGame
            live: table.model.state === Island.NotchState.games
            onGameOpened: (game) => table.model.openGame(game)
            onHomeRequested: table.model.openHome()
            onPointerEntered: table.model.cancelHoverTask()
        }
    }
    calculator: Component {
        CalculatorPanel {
            engine: table.model.calculator
            onPointerEntered: table.model.cancelHoverTask()
            onHomeRequested: table.model.openHome()
        }
    }
    pocket: Component {
        PocketPanel {
            store: table.model.pocket
            targeted: table.model.fileDropTargeted
            onPointerEntered: table.model.cancelHoverTask()
            onHomeRequested: table.model.openHome()
            onClipboardHeld: table.model.holdClipboardInPocket()
        }
    }
    voice: Component {
        VoiceMemosPanel {
            engine: table.model.voice
            onPointerEntered: table.model.cancelHoverTask()
            onHomeRequested: table.model.openHome()
        }
    }
    translator: Component {
        TranslatorPanel {
            engine: table.model.translator
            onPointerEntered: table.model.cancelHoverTask()
            onHomeRequested: table.model.openHome()
        }
    }
    update: Component {
        UpdatePanel {
            updater: table.model.updater
            onPointerEntered: table.model.cancelHoverTask()
            onDismissed: table.model.dismissUpdate()
        }
    }
}
