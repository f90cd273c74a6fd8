import QtQuick
import Pavlet
import Pavlet.Style

// Home: the header, the cards of the visible modules in the user's order
// (as rocking tiles with the add tray while modules are edited) and the
// version line. It reports its content height, by which the island sizes
// itself, and scrolls when that is more than the island can grow.
Item {
    id: root
    objectName: "homePanel"
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeParts parts
    property string draggingModule: ""

    HomeModel { id: homeModel; model: root.model; parts: root.parts }

    readonly property bool editing: model.isEditingModules
    // What the list shows of edit mode (hint, insets, tray); it follows
    // `editing` inside relayout, so the list is measured before and after.
    property bool editLook: false
    onEditingChanged: {
        if (!editing)
            draggingModule = ""
        relayout(false)
    }

    // The tiles in the list, kept in step with the visible modules by moves,
    // so a card (and a drag on it) lives on while the order changes. The
    // first cards load in the background; a card that joins later loads at
    // once, so the list knows its height before it moves anything.
    ListModel { id: tiles }
    property bool populated: false
    function syncTiles() {
        const ids = homeModel.visibleModules
        for (let i = 0; i < ids.length; ++i) {
            let found = -1
            for (let j = i; j < tiles.count; ++j) {
                if (tiles.get(j).moduleId === ids[i]) { found = j; break }
            }
            if (found < 0)
                tiles.insert(i, { moduleId: ids[i], eager: root.populated })
            else if (found !== i)
                tiles.move(found, i, 1)
        }
        if (tiles.count > ids.length)
            tiles.remove(ids.length, tiles.count - ids.length)
    }
    Connections { target: homeModel; function onVisibleModulesChanged() { root.relayout(true) } }
    Component.onCompleted: {
        editLook = editing
        syncTiles()
        populated = true
    }

    // A change of the list or of edit mode: the list is laid out at once,
    // then every tile is drawn where it was and springs to its new place,
    // and tiles that joined fade in. A drag's reorder uses the drag's spring.
    function relayout(sync) {
        if (!populated) {
            if (sync)
                syncTiles()
            editLook = editing
            return
        }
        // A card still loading has no place yet (Infinity: nothing to animate).
        for (const t of tileItems())
            t.before = t.height > 0 ? list.y + t.y + t.shift : Infinity
        if (sync)
            syncTiles()
        editLook = editing
        list.forceLayout()
        column.forceLayout()
        const motion = draggingModule !== "" ? IslandStyle.quickSpring : IslandStyle.listSpring
        for (const t of tileItems()) {
            if (isNaN(t.before)) {
                t.fadeIn(motion)
                continue
            }
            const offset = t.before - (list.y + t.y)
            t.before = NaN
            if (isFinite(offset) && Math.abs(offset) > 0.5)
                t.slideFrom(offset, motion)
        }
    }
    function tileItems() {
        const out = []
        for (let i = 0; i < list.children.length; ++i) {
            const c = list.children[i]
            if (c.moduleId !== undefined)
                out.push(c)
        }
        return out
    }

    HoverHandler { onHoveredChanged: if (hovered) root.model.cancelHoverTask() }

    // The control that takes the keyboard (by Tab, Shift+Tab or its own
    // doing) glides into sight when the list holds it out of view; of a
    // control that clips its content, the part it shows.
    Connections {
        target: root.Window.window
        function onFocusObjectChanged(object) { root.reveal(object) }
    }
    function reveal(item) {
        let p = item instanceof Item ? item : null
        while (p && p !== column)
            p = p.parent
        if (!p || !homeModel.scrolls)
            return
        let r = item.mapToItem(column, 0, 0, item.width, item.height)
        for (p = item.parent; p !== column; p = p.parent) {
            if (!p.clip)
                continue
            const c = p.mapToItem(column, 0, 0, p.width, p.height)
            const top = Math.max(r.y, c.y)
            r = Qt.rect(r.x, top, r.width, Math.max(0, Math.min(r.y + r.height, c.y + c.height) - top))
        }
        const view = flick.height - flick.overhang
        const to = homeModel.revealScroll(flick.contentY, view, flick.contentHeight - flick.height,
                                          r.y - flick.overhang, r.y + r.height - flick.overhang, IslandStyle.spacing)
        if (Math.abs(to - flick.contentY) < 0.5)
            return
        flick.cancelFlick()
        glide.to = to
        glide.restart()
    }
    SpringAnimation {
        id: glide
        target: flick
        property: "contentY"
        spring: IslandStyle.listSpring.spring
        damping: IslandStyle.listSpring.damping
        epsilon: 0.25
    }

    Flickable {
        id: flick
        // It reaches `overhang` above the panel so the badges that stand out
        // of the header's icons stay inside its clip while Home scrolls.
        readonly property real overhang: HomeText.removeOffset
        y: -overhang
        width: parent.width
        height: (homeModel.scrolls ? Math.min(homeModel.scrollCap, root.height) : root.height) + overhang
        contentWidth: width
        contentHeight: column.implicitHeight
        interactive: homeModel.scrolls
        boundsBehavior: Flickable.StopAtBounds
        clip: homeModel.scrolls

        Column {
            id: column
            width: flick.width
            spacing: IslandStyle.spacing
            topPadding: flick.overhang
            bottomPadding: IslandStyle.spacingHair
            onImplicitHeightChanged: homeModel.reportContentHeight(implicitHeight - topPadding)
            Component.onCompleted: homeModel.reportContentHeight(implicitHeight - topPadding)

            HomeHeader { width: column.width; model: root.model; settings: root.settings; home: homeModel; menuBounds: root }

            // Why Mirror did not open, under the icons it was chosen from.
            Column {
                objectName: "mirrorNotice"
                visible: homeModel.mirrorNotice.length > 0
                width: column.width
                Text {
                    textFormat: Text.PlainText
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: homeModel.mirrorNotice
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    font.weight: Font.Medium
                    color: IslandPalette.accent(IslandPalette.mint)
                    wrapMode: Text.WordWrap
                }
                Text {
                    textFormat: Text.PlainText
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: homeModel.mirrorNoticeDetail
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCaption
                    color: IslandPalette.textSecondary
                    wrapMode: Text.WordWrap
                }
            }

            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                visible: root.editLook
                width: column.width
                horizontalAlignment: Text.AlignHCenter
                text: qsTr("Drag tiles to reorder. Header icons: drag to restack, − to remove.")
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontCaption
                color: IslandPalette.textTertiary
                wrapMode: Text.WordWrap
            }

            Column {
                id: list
                width: column.width
                objectName: "homeCards"
                spacing: IslandStyle.spacing
                Repeater {
                    model: tiles
                    EditableModule {
                        id: tile
                        required property bool eager
                        objectName: "homeCard:" + moduleId
                        width: list.width
                        editing: root.editLook
                        home: homeModel
                        dragging: root.draggingModule
                        space: list
                        onDragStarted: root.draggingModule = moduleId
                        onDragEnded: root.draggingModule = ""
                        // The card its module's row names (none for an
                        // unknown id), with the inputs every card takes.
                        Loader {
                            width: tile.width - tile.inset
                            asynchronous: !tile.eager
                            Component.onCompleted: {
                                const card = homeModel.cardView(tile.moduleId)
                                if (card.toString() !== "")
                                    setSource(Qt.resolvedUrl(card), { model: root.model, settings: root.settings, home: homeModel })
                            }
                        }
                    }
                }
            }

            Loader {
                width: column.width
                active: root.editLook
                visible: active
                sourceComponent: AddModuleTray { width: column.width; home: homeModel }
            }
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                visible: !root.editLook && homeModel.visibleModules.length === 0
                width: column.width
                topPadding: IslandStyle.spacing
                bottomPadding: IslandStyle.spacing
                horizontalAlignment: Text.AlignHCenter
                text: qsTr("Tap + to add modules")
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontFootnote
                color: IslandPalette.textTertiary
            }
            HomeVersionFooter { width: column.width; settings: root.settings; version: homeModel.versionText }
        }
    }
}
