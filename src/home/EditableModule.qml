import QtQuick
import Pavlet
import Pavlet.Style

// A card as a tile of edit mode: it rocks, carries a remove badge and a grip,
// ignores clicks on its own controls and can be dragged to a new place.
Item {
    id: tile
    required property string moduleId
    required property bool editing
    required property HomeModel home
    // The module being dragged, shared by the list; "" when none.
    property string dragging: ""
    // The list holding every tile; the drag's target is worked out from
    // their spans in it.
    property Item space: parent
    signal dragStarted()
    signal dragEnded()
    default property alias content: holder.data

    readonly property bool dragged: dragging === moduleId
    readonly property real inset: editing ? IslandStyle.spacingHair : 0
    implicitHeight: holder.childrenRect.height + inset
    z: dragged ? 10 : 0

    // How far the tile is drawn from its place in the list, springing back
    // to 0 after the list changed, and its fade while it joins the list.
    // Both rest at fixed values, so a motion cut short by the next change
    // never leaves the tile out of place or faint.
    property real shift: 0
    property real fade: 1
    // Where the tile was drawn before a change (list coordinates); NaN when
    // no change is under way.
    property real before: NaN
    transform: Translate { y: tile.shift }
    opacity: fade

    // Drawn `offset` away from its place, it springs home with `motion`.
    function slideFrom(offset, motion) {
        slide.stop()
        shift = offset
        slide.spring = motion.spring
        slide.damping = motion.damping
        slide.start()
    }
    function fadeIn(motion) {
        fader.stop()
        fade = 0
        fader.spring = motion.spring
        fader.damping = motion.damping
        fader.start()
    }
    SpringAnimation { id: slide; target: tile; property: "shift"; to: 0; epsilon: 0.25 }
    SpringAnimation { id: fader; target: tile; property: "fade"; to: 1; epsilon: 0.01 }

    Item {
        id: body
        x: tile.inset
        y: tile.inset
        width: tile.width - tile.inset
        height: holder.childrenRect.height
        opacity: tile.dragged ? 0.72 : 1
        scale: tile.dragged ? 1.03 : 1

        // In edit mode the card's controls are no stops of the Tab order
        // either; the remove badge is.
        Item {
            id: holder
            width: parent.width
            height: childrenRect.height
            enabled: !tile.editing
        }
        // In edit mode this lies over the card: it takes the presses and the
        // hover, so the card's controls take no clicks yet keep their look.
        MouseArea {
            id: area
            anchors.fill: parent
            visible: tile.editing
            hoverEnabled: true
            preventStealing: true
            property point start
            onPressed: (mouse) => { start = Qt.point(mouse.x, mouse.y) }
            onPositionChanged: (mouse) => {
                if (!pressed)
                    return
                if (tile.dragging !== tile.moduleId && Math.hypot(mouse.x - start.x, mouse.y - start.y) < 6)
                    return
                if (tile.dragging !== tile.moduleId)
                    tile.dragStarted()
                tile.home.dragModule(tile.moduleId, mapToItem(tile.space, mouse.x, mouse.y).y, tile.frames())
            }
            onReleased: tile.dragEnded()
            onCanceled: tile.dragEnded()
        }
        Symbol {
            visible: tile.editing
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.rightMargin: IslandStyle.spacingMedium
            anchors.topMargin: IslandStyle.spacingMedium
            name: "line.3.horizontal"
            size: IslandStyle.fontBody
            color: IslandPalette.textSecondary
        }
        IslandPressStyle {
            visible: tile.editing
            x: -HomeText.removeOffset
            y: -HomeText.removeOffset
            width: HomeText.tileRemoveSize
            height: HomeText.tileRemoveSize
            keys: true
            onActivated: tile.home.removeModule(tile.moduleId)
            label: qsTr("Remove")
            Rectangle { anchors.centerIn: parent; width: HomeText.tileRemoveFill; height: width; radius: width / 2; color: IslandPalette.white }
            Symbol { anchors.centerIn: parent; name: "minus.circle.fill"; size: HomeText.tileRemoveGlyph; color: IslandPalette.removeRed }
            MouseArea { anchors.fill: parent; anchors.margins: -HomeText.tileRemoveSlop; onClicked: tile.home.removeModule(tile.moduleId) }
        }
    }
    Jiggle { target: body; active: tile.editing && tile.dragging === ""; params: tile.home.jiggle(tile.moduleId) }

    // Every tile's span in the list, by module.
    function frames() {
        const out = {}
        for (let i = 0; i < space.children.length; ++i) {
            const c = space.children[i]
            if (c.moduleId !== undefined)
                out[c.moduleId] = { y: c.y, height: c.height }
        }
        return out
    }
}
