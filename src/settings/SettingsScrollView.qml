import QtQuick
import QtQuick.Controls.Basic
import Pavlet

// A page's vertical scroll area; its indicator shows whenever there is more
// to scroll to. A window built ahead lays its pages out only once it shows,
// so the indicator waits for that (else it would show, then fade out).
ScrollView {
    id: root
    contentWidth: availableWidth
    clip: true
    ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
    readonly property bool shown: Window.window !== null && Window.window.visible
    ScrollBar.vertical.policy: shown && contentHeight > availableHeight ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
}
