import QtQuick
import Pavlet

// The keep-awake module on Home.
AwakeCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    keepAwake: root.model.keepAwake
}
