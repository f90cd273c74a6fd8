import QtQuick
import Pavlet

// The daily line's module on Home.
QuoteCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    quote: root.model.quoteOfTheDay()
}
