import QtQuick
import QtQuick.Controls
import Pavlet
import Pavlet.Style

// The tool icons of the header: a row (a menu when there are more than five
// and modules are not being edited), with badges, rocking and drag-to-restack
// in edit mode.
Item {
    id: root
    required property NotchViewModel model
    required property HomeModel home
    property string dragging: ""
    readonly property bool editing: model.isEditingModules
    onEditingChanged: if (!editing) dragging = ""
    implicitWidth: home.stripIsMenu ? HomeText.chromeCellSize : row.implicitWidth
    implicitHeight: HomeText.chromeCellSize

    // Where the menu is placed: it opens below the button, towards the
    // left, inside these bounds; the island's window keeps it inside the
    // island, shorter and scrolling when it has to be.
    property Item menuBounds: null
    IslandIconButton {
        id: menuButton
        visible: root.home.stripIsMenu
        systemName: "line.3.horizontal"
        size: IslandStyle.fontSubhead
        help: qsTr("Modules")
        opensShown: menu.visible
        keys: true
        onClicked: {
            const corner = mapToItem(menu.parent, width, height)
            menu.x = Math.max(0, Math.min(corner.x, menu.parent.width) - menu.width)
            menu.y = Math.min(corner.y, Math.max(0, menu.parent.height - menu.implicitHeight))
            menu.open()
        }
        IslandMenu {
            id: menu
            objectName: "modulesMenu"
            parent: root.menuBounds ? root.menuBounds : menuButton
            Repeater {
                model: root.home.stripIsMenu ? root.home.chromeIcons : []
                MenuItem {
                    required property chromeCell modelData
                    text: modelData.title
                    onTriggered: root.model.openChromeIcon(modelData.id)
                }
            }
        }
    }

    // The row scrolls sideways when the header cannot give it its width.
    // It reaches `pad` beyond the strip on every side, so the badges that
    // stand out of the icons stay inside its clip; but while it scrolls its
    // clip ends at the strip's right edge, short of the buttons beside it.
    readonly property real pad: HomeText.removeOffset + 1
    readonly property bool scrolls: row.implicitWidth > width + 0.5
    readonly property real rightPad: scrolls ? 0 : pad
    Flickable {
        id: scroller
        objectName: "chromeScroller"
        visible: !root.home.stripIsMenu
        x: -root.pad
        y: -root.pad
        width: root.width + root.pad + root.rightPad
        height: root.height + 2 * root.pad
        contentWidth: row.implicitWidth + root.pad + root.rightPad
        contentHeight: height
        flickableDirection: Flickable.HorizontalFlick
        interactive: root.scrolls
        clip: root.scrolls
        boundsBehavior: Flickable.StopAtBounds

        // One area under every icon takes the presses, clicks and drags, so a
        // drag lives on while the icons are rebuilt in their new order.
        MouseArea {
            id: area
            x: root.pad
            y: root.pad
            width: row.width
            height: row.height
            preventStealing: root.editing
            property string pressedId: ""
            property real startX: 0
            onPressed: (mouse) => {
                pressedId = root.iconAt(mouse.x)
                startX = mouse.x
                mouse.accepted = pressedId !== ""
            }
            onPositionChanged: (mouse) => {
                if (!root.editing || pressedId === "")
                    return
                if (root.dragging === "" && Math.abs(mouse.x - startX) < 4)
                    return
                root.dragging = pressedId
                root.home.dragChromeIcon(pressedId, mouse.x, root.frames())
            }
            onReleased: root.dragging = ""
            onCanceled: root.dragging = ""
            onClicked: if (!root.editing && pressedId !== "") root.model.openChromeIcon(pressedId)
            // The wheel scrolls the strip sideways; one that moves nothing
            // (the strip at its end that way, or not scrolling) goes on to
            // Home's list.
            onWheel: (wheel) => {
                const delta = wheel.angleDelta.x !== 0 ? wheel.angleDelta.x : wheel.angleDelta.y
                const x = Math.max(0, Math.min(scroller.contentWidth - scroller.width, scroller.contentX - delta / 4))
                wheel.accepted = scroller.interactive && Math.abs(x - scroller.contentX) > 0.5
                if (wheel.accepted)
                    scroller.contentX = x
            }
        }

        Row {
            id: row
            x: root.pad
            y: root.pad
            spacing: IslandStyle.spacingSmall
            Repeater {
                model: root.home.stripIsMenu ? [] : root.home.chromeIcons
                Item {
                    id: cell
                    objectName: "chromeCell:" + modelData.id
                    required property chromeCell modelData
                    width: HomeText.chromeCellSize
                    height: HomeText.chromeCellSize
                    opacity: root.dragging === modelData.id ? 0.7 : 1
                    readonly property color tint: IslandPalette.accent(modelData.tint)
                    readonly property color coral: IslandPalette.accent(IslandPalette.coral)

                    Item {
                        id: body
                        anchors.fill: parent
                        IslandPressStyle {
                            anchors.fill: parent
                            pressed: area.pressed && area.pressedId === cell.modelData.id && !root.editing
                            keys: !root.editing
                            onActivated: root.model.openChromeIcon(cell.modelData.id)
                            label: cell.modelData.title
                            onActiveFocusChanged: if (activeFocus) root.reveal(cell)
                            Item {
                                width: HomeText.chromeCellSize; height: HomeText.chromeCellSize
                                Symbol { anchors.centerIn: parent; name: cell.modelData.glyph; size: IslandStyle.fontHeadline; color: cell.tint }
                            }
                        }
                        Rectangle {
                            visible: cell.modelData.badge.length > 0
                            x: parent.width - width / 2 + 2
                            y: -HomeText.badgeOffset
                            width: Math.max(height, badgeText.implicitWidth + 6)
                            height: badgeText.implicitHeight + 2
                            radius: height / 2
                            color: cell.coral
                            Text {
                                id: badgeText
                                textFormat: Text.PlainText
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                                anchors.centerIn: parent
                                text: cell.modelData.badge
                                font.family: IslandStyle.roundedFamily
                                font.pixelSize: HomeText.badgeFontSize
                                font.bold: true
                                color: IslandPalette.black
                            }
                        }
                        Rectangle {
                            visible: cell.modelData.dot
                            x: parent.width - 4 + 2
                            y: 0
                            width: HomeText.statusDotSize; height: width; radius: width / 2
                            color: cell.coral
                        }
                    }
                    Jiggle { target: body; active: root.editing && root.dragging === ""; params: root.home.jiggle(cell.modelData.id) }

                    HoverHandler { id: hover }
                    ToolTip.visible: hover.hovered && !root.editing
                    ToolTip.text: modelData.title
                    ToolTip.delay: 600

                    IslandPressStyle {
                        objectName: "chromeRemove:" + cell.modelData.id
                        visible: cell.modelData.removable
                        x: -HomeText.removeOffset; y: -HomeText.removeOffset
                        width: HomeText.chromeRemoveSize; height: HomeText.chromeRemoveSize
                        keys: root.editing
                        onActivated: root.home.removeChromeIcon(cell.modelData.id)
                        label: qsTr("Remove %1").arg(cell.modelData.title)
                        onActiveFocusChanged: if (activeFocus) root.reveal(cell)
                        Rectangle { width: HomeText.chromeRemoveSize; height: width; radius: width / 2; color: IslandPalette.white }
                        Symbol { anchors.centerIn: parent; name: "minus.circle.fill"; size: HomeText.chromeRemoveGlyph; color: IslandPalette.removeRed }
                        MouseArea { anchors.fill: parent; onClicked: root.home.removeChromeIcon(cell.modelData.id) }
                    }
                }
            }
        }
    }
    // A touchpad's strokes that reach the strip itself, the same.
    WheelPassOn {
        view: scroller
    }

    // A cell that takes the keyboard is scrolled into sight, badge and all.
    function reveal(cell) {
        if (!scrolls)
            return
        scroller.contentX = home.revealScroll(scroller.contentX, scroller.width, scroller.contentWidth - scroller.width,
                                              row.x + cell.x, row.x + cell.x + cell.width, pad)
    }

    // The icon whose cell spans x (row coordinates); "" between icons.
    function iconAt(x) {
        const spans = frames()
        for (const id in spans) {
            if (x >= spans[id].x && x <= spans[id].x + spans[id].width)
                return id
        }
        return ""
    }

    // Every cell's span in the row, by icon.
    function frames() {
        const out = {}
        for (let i = 0; i < row.children.length; ++i) {
            const c = row.children[i]
            if (c.modelData)
                out[c.modelData.id] = { x: c.x, width: c.width }
        }
        return out
    }
}
