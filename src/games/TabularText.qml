import QtQuick
import Pavlet
import Pavlet.Style

// A line in the rounded face whose digits each take a cell of the same
// width, so a score or count keeps its width as it changes. The face has no
// equal-width figures of its own; every other character keeps its advance.
Row {
    id: root
    property string text
    // Its size and weight are used; the face is always the rounded one.
    property font font: Qt.font({ pixelSize: IslandStyle.fontFootnote })
    property color color: IslandPalette.textPrimary
    // Read as one line, not cell by cell.
    Accessible.role: Accessible.StaticText
    Accessible.name: text
    readonly property font face: Qt.font({ family: IslandStyle.roundedFamily, pixelSize: font.pixelSize,
                                           weight: font.weight })
    // The widest digit's advance: the cell of every digit.
    readonly property real digitWidth: widestDigit(metrics.font)

    FontMetrics {
        id: metrics
        font: root.face
    }

    // The metrics' font is passed in so that a binding calling these is
    // evaluated again when the size changes; the calls alone would keep the
    // advances of the first size.
    function widestDigit(font) {
        let widest = 0
        for (let d = 0; d <= 9; ++d)
            widest = Math.max(widest, metrics.advanceWidth(String(d)))
        return widest
    }
    function advanceOf(glyph, font) {
        return metrics.advanceWidth(glyph)
    }

    // One cell a character; a change of text keeps the cells and only
    // rebuilds them when the length changes.
    Repeater {
        model: root.text.length
        Text {
            textFormat: Text.PlainText
            required property int index
            readonly property string glyph: root.text.charAt(index)
            readonly property bool digit: glyph >= "0" && glyph <= "9"
            width: digit ? root.digitWidth : root.advanceOf(glyph, metrics.font)
            horizontalAlignment: Text.AlignHCenter
            text: glyph
            font: root.face
            color: root.color
        }
    }
}
