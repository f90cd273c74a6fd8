import QtQuick

// Holds a Shape that may sit in a clipped list or field. The software
// renderer draws a Shape with no clip at all once it has moved wholly outside
// the clip around it, and copies of it stay wherever it passed (over a
// header, beside a game's field). Under that renderer the Shape is drawn
// into a layer first and then clips like any picture. `reach` is how far the
// drawing goes past this item's edges (a stroke's caps, an outline hung
// above its item): the layer takes that much more on each side, and the
// content keeps this item's own origin and size.
Item {
    id: root
    property real reach: 1
    property real reachTop: reach
    default property alias content: origin.data

    Item {
        id: surface
        x: -root.reach
        y: -root.reachTop
        width: root.width + 2 * root.reach
        height: root.height + root.reachTop + root.reach
        layer.enabled: GraphicsInfo.api === GraphicsInfo.Software
        layer.smooth: true

        Item {
            id: origin
            x: root.reach
            y: root.reachTop
            width: root.width
            height: root.height
        }
    }
}
