import QtQuick
import Pavlet

// The island's UpdatePanel view: fills the frame the island gives its state.
Item {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
}
