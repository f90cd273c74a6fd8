import QtQuick
import Pavlet

// The compress module on Home, over the zip engine that outlives it.
ZipCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    engine: root.home.makeZipEngine(root)
}
