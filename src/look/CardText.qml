import QtQuick
import Pavlet
import Pavlet.Style

// A line of card text in the rounded face; one line, cut at its end.
Text {
    property bool digits: false
    font.family: digits ? IslandStyle.digitsFamily : IslandStyle.roundedFamily
    font.pixelSize: IslandStyle.fontBody
    font.weight: Font.Medium
    color: IslandPalette.textPrimary
    elide: Text.ElideRight
    maximumLineCount: 1
}
