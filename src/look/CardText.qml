import QtQuick
import Pavlet
import Pavlet.Style

// A line of card text in the rounded face; one line, cut at its end. Shown
// as written: what it shows often comes from elsewhere (a copied text, a
// device's or a track's name), and markup in it must not style it or load
// images. A view that composes markup itself asks for StyledText.
Text {
    property bool digits: false
    textFormat: Text.PlainText
    font.family: digits ? IslandStyle.digitsFamily : IslandStyle.roundedFamily
    font.pixelSize: IslandStyle.fontBody
    font.weight: Font.Medium
    color: IslandPalette.textPrimary
    elide: Text.ElideRight
    maximumLineCount: 1
    // Read out as it reads; its text changes only when what it says does.
    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
