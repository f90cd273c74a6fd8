import QtQuick
import Pavlet
import Pavlet.Style

// Wraps a button's look: while pressed it shrinks to 0.96 about its centre
// and dims to 0.86, springing back on release.
Item {
    id: root
    property bool pressed: false
    default property alias content: body.data
    implicitWidth: body.childrenRect.width
    implicitHeight: body.childrenRect.height

    Item {
        id: body
        anchors.fill: parent
        transformOrigin: Item.Center
        scale: root.pressed ? 0.96 : 1
        opacity: root.pressed ? 0.86 : 1
        Behavior on scale { SpringAnimation { spring: IslandStyle.pressSpring.spring; damping: IslandStyle.pressSpring.damping; epsilon: 0.001 } }
        Behavior on opacity { SpringAnimation { spring: IslandStyle.pressSpring.spring; damping: IslandStyle.pressSpring.damping; epsilon: 0.001 } }
    }
}
