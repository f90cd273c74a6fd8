import QtQuick
import Pavlet
import Pavlet.Style

// The keyboard's mark on a control of the settings window: a ring in the
// accent colour just outside the shape it follows (its parent), which the
// page scrolls into sight when it shows.
Rectangle {
    id: ring
    // Whether the control holds the keyboard.
    property bool shown: false
    objectName: "focusRing"
    anchors.fill: parent
    anchors.margins: -IslandStyle.spacingHair - IslandStyle.strokeHair
    radius: (parent && parent.radius !== undefined ? parent.radius : 0) + IslandStyle.spacingHair + IslandStyle.strokeHair
    visible: shown
    // As it shows, the page it is on scrolls it into sight.
    onShownChanged: {
        if (!shown)
            return
        for (let p = ring.parent; p; p = p.parent) {
            if (typeof p.bringIntoView === "function") {
                p.bringIntoView(ring)
                return
            }
        }
    }
    color: IslandPalette.clear
    border.width: IslandStyle.stroke
    border.color: IslandPalette.accent(IslandPalette.sky)
}
