import QtQuick
import QtQuick.Controls.Basic
import Pavlet
import Pavlet.Style

// A page's vertical scroll area; its indicator shows whenever there is more
// to scroll to, in a gutter of its own beside the content, so it covers no
// control or text. A window built ahead lays its pages out only once it
// shows, so the indicator waits for that (else it would show, then fade
// out). A control that takes the keyboard is scrolled into view.
ScrollView {
    id: root
    contentWidth: availableWidth
    clip: true
    rightPadding: ScrollBar.vertical.implicitWidth + IslandStyle.spacingSmall
    ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
    readonly property bool shown: Window.window !== null && Window.window.visible
    ScrollBar.vertical.policy: shown && contentHeight > availableHeight ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff

    // Scrolls the least that brings item (on this page) into sight, with a
    // margin. The controls' focus rings ask for it as they show: a control
    // reached with Tab or Shift+Tab is in sight before a key can change it.
    // (The window's own focus-change signal is not enough: it comes when
    // the window is activated, not for each Tab.)
    function bringIntoView(item) {
        const flick = root.contentItem
        if (!item || !flick || !flick.contentItem)
            return
        const top = item.mapToItem(flick.contentItem, 0, 0).y - IslandStyle.spacingLarge
        const bottom = top + item.height + 2 * IslandStyle.spacingLarge
        const most = Math.max(0, flick.contentHeight - flick.height)
        if (top < flick.contentY)
            flick.contentY = Math.max(0, top)
        else if (bottom > flick.contentY + flick.height)
            flick.contentY = Math.min(most, bottom - flick.height)
    }
}
