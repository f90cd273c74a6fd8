import QtQuick
import Pavlet

// The scratch pad's module on Home.
NotesCard {
    required property NotchViewModel model
    required property HomeModel home
}
