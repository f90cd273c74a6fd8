import QtQuick
import Pavlet

// The calendar's module on Home; its reminder shows where Home allows it.
CalendarCard {
    id: root
    required property HomeModel home
    remindersAllowed: root.home.remindersShown
}
