import QtQuick
import Pavlet

// The compress module on Home: the card owns its zip engine.
ZipCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    engine: root.home.makeZipEngine(root)
}
