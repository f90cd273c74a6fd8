import QtQuick
import Pavlet
import Pavlet.Style

// One cell's mark: nothing, the red X or the blue O.
Item {
    id: root
    // ToeMark: 0 empty, 1 red, 2 blue.
    property int mark: 0
    property real size: GameViews.toeGlyphSize
    width: size
    height: size

    ToeXMark {
        anchors.centerIn: parent
        visible: root.mark === 1
        size: root.size
        color: IslandPalette.red
    }
    // The ring, painted whole: its line is centred on a circle of 0.72 of
    // the size, so half of it lies outside that circle. (A bordered round
    // rectangle left small gaps along the ring's inner edge.)
    Canvas {
        id: ring
        objectName: "toeRing"
        readonly property real line: GameViews.toeLineWidth(root.size)
        readonly property real circle: root.size * 0.72
        readonly property color ink: IslandPalette.blue
        anchors.centerIn: parent
        visible: root.mark === 2
        // A pixel to spare on each side for the smoothing.
        width: Math.ceil(circle + line) + 2
        height: width
        onLineChanged: requestPaint()
        onCircleChanged: requestPaint()
        onInkChanged: requestPaint()
        onVisibleChanged: if (visible) requestPaint()
        onPaint: {
            const ctx = getContext("2d")
            ctx.reset()
            ctx.lineWidth = line
            ctx.strokeStyle = ink
            ctx.beginPath()
            ctx.arc(width / 2, height / 2, circle / 2, 0, 2 * Math.PI)
            ctx.stroke()
        }
    }
}
