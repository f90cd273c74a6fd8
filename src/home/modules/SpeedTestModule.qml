import QtQuick
import Pavlet

// The speed test's module on Home.
SpeedTestCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    engine: root.model.speedTest
}
