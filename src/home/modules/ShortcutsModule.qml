import QtQuick
import Pavlet

// The quick actions' module on Home.
ShortcutsCard {
    required property AppSettings settings
    required property HomeModel home
}
