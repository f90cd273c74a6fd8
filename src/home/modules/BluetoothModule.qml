import QtQuick
import Pavlet

// The Bluetooth module on Home.
BluetoothCard {
    required property AppSettings settings
    required property HomeModel home
}
