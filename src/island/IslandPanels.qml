import QtQml

// The panel of each open state that has one, handed to the island's root
// view by the layer that makes the island's window; a state left empty shows
// nothing. The mirror, hover and HUD views are the island's own.
QtObject {
    property Component home
    property Component canvas
    property Component games
    property Component calculator
    property Component pocket
    property Component voice
    property Component translator
    property Component update
}
