import QtQuick
import Pavlet
import Pavlet.Style

// Wraps a button's look: while pressed it shrinks to 0.96 about its centre
// and dims to 0.86, springing back on release. With `keys` set the button
// is a stop of the Tab order: a rim shows while it has the keyboard, and
// Space, Enter or Return press it as the pointer does (`activated` on the
// key's release, as a click comes on the button's).
Item {
    id: root
    property bool pressed: false
    property bool keys: false
    // The rim's corners: round ends unless the button's own shape has others.
    property real rimRadius: Math.min(width, height) / 2
    signal activated()
    default property alias content: body.data
    // A screen reader meets it as a button of this name (its caption, or
    // what its symbol means), and its press action presses it as a click
    // does: a view's click and `activated` do the same.
    property string label
    Accessible.role: Accessible.Button
    Accessible.name: label
    Accessible.focusable: keys
    Accessible.pressed: pressed || held
    Accessible.onPressAction: if (root.enabled) root.activated()
    implicitWidth: body.childrenRect.width
    implicitHeight: body.childrenRect.height

    activeFocusOnTab: keys && enabled
    // A press key held down; let go elsewhere (the keyboard taken away),
    // it presses nothing.
    property bool held: false
    onActiveFocusChanged: if (!activeFocus) held = false
    function pressKey(event) {
        return root.keys && (event.modifiers & ~Qt.KeypadModifier) === 0
               && (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter)
    }
    Keys.onPressed: (event) => {
        if (!pressKey(event))
            return
        event.accepted = true
        if (!event.isAutoRepeat)
            held = true
    }
    Keys.onReleased: (event) => {
        if (!pressKey(event))
            return
        event.accepted = true
        if (event.isAutoRepeat || !held)
            return
        held = false
        root.activated()
    }

    Item {
        id: body
        anchors.fill: parent
        transformOrigin: Item.Center
        scale: root.pressed || root.held ? 0.96 : 1
        opacity: root.pressed || root.held ? 0.86 : 1
        Behavior on scale { SpringAnimation { spring: IslandStyle.pressSpring.spring; damping: IslandStyle.pressSpring.damping; epsilon: 0.001 } }
        Behavior on opacity { SpringAnimation { spring: IslandStyle.pressSpring.spring; damping: IslandStyle.pressSpring.damping; epsilon: 0.001 } }
    }
    Rectangle {
        visible: root.activeFocus
        anchors.fill: parent
        anchors.margins: -IslandStyle.spacingHair
        radius: root.rimRadius + IslandStyle.spacingHair
        color: IslandPalette.clear
        border.width: IslandStyle.stroke
        border.color: IslandPalette.textPrimary
    }
}
