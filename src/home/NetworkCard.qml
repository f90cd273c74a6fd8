import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The network's name with a status dot, and the address when asked for.
ModuleCard {
    id: root
    required property networkSnapshot snapshot
    required property AppSettings settings
    title: qsTr("Wi-Fi")
    accent: IslandPalette.accent(IslandPalette.mint)

    RowLayout {
        width: parent.width
        Rectangle {
            width: HomeText.statusDotSize; height: width; radius: width / 2
            color: IslandPalette.accent(root.snapshot.online ? IslandPalette.green : IslandPalette.coral)
        }
        CardText { text: root.snapshot.name; Layout.fillWidth: true }
        CardText {
            visible: root.settings.networkShowIP
            digits: true
            text: root.snapshot.ip
            font.pixelSize: IslandStyle.fontFootnote
            font.weight: Font.Normal
            color: IslandPalette.textSecondary
        }
    }
}
