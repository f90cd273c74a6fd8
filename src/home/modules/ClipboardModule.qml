import QtQuick
import Pavlet

// The clipboard's module on Home: a tapped copy goes back on the clipboard.
ClipboardCard {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    history: root.model.clipboard
    onCopy: (item) => root.model.copyToClipboard(item)
}
