import QtQuick
import Pavlet

// The mic check's module on Home: the card owns its engine, and the take
// goes with the card.
MicCheckCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    engine: root.home.makeMicCheckEngine(root)
}
