import QtQuick
import Pavlet
import Pavlet.Style

// "v0.1.2 · BETA" under the cards, unless hidden.
Item {
    id: root
    required property AppSettings settings
    required property string version
    visible: !settings.hideNotchVersion
    implicitHeight: visible ? row.implicitHeight + IslandStyle.spacing : 0

    Row {
        id: row
        y: IslandStyle.spacingSmall
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: IslandStyle.spacingSmall
        Repeater {
            model: [root.version, "·", "BETA"]
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                required property string modelData
                text: modelData
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontMicro
                font.letterSpacing: 0.6
                color: IslandPalette.textTertiary
            }
        }
    }
}
