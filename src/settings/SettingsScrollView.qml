import QtQuick
import QtQuick.Controls.Basic
import Pavlet

// A page's vertical scroll area; its indicator shows whenever there is more
// to scroll to.
ScrollView {
    id: root
    contentWidth: availableWidth
    clip: true
    ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
    ScrollBar.vertical.policy: contentHeight > availableHeight ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
}
