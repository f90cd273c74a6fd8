import QtQuick
import QtQuick.Controls

// A menu whose list follows the menu's current entry by hand. Bound, the
// list's index and the menu's feed each other through the entries' focus
// (keys and the pointer moving the highlight at once, or entries coming
// and going while it is open), and that binding loops. The list scrolls
// when the menu is held shorter than its entries (the island's window keeps
// its popups inside the island).
Menu {
    id: menu

    // The control that had the keyboard before the menu took it has it again
    // once the menu closes, and the next Tab goes on from there.
    property Item hadKeys: null
    onAboutToShow: hadKeys = parent && parent.Window.window ? parent.Window.window.activeFocusItem : null
    onClosed: {
        if (hadKeys && hadKeys.visible && hadKeys.enabled)
            hadKeys.forceActiveFocus(Qt.PopupFocusReason)
        hadKeys = null
    }

    contentItem: ListView {
        id: list
        implicitHeight: contentHeight
        model: menu.contentModel
        interactive: contentHeight > height
        clip: true
        currentIndex: -1
        ScrollIndicator.vertical: ScrollIndicator {}

        Connections {
            target: menu
            function onCurrentIndexChanged() {
                if (list.currentIndex !== menu.currentIndex)
                    list.currentIndex = menu.currentIndex
            }
        }
    }
}
