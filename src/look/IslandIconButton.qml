import QtQuick
import Pavlet
import QtQuick.Controls
import Pavlet.Style

// A symbol in a 22 x 22 frame with a round hit area, the island's press
// style and a tool tip; with `keys` set, a stop of the Tab order that Space,
// Enter or Return click.
Item {
    id: root
    property string systemName
    property real size: 12
    property color color: IslandPalette.textPrimary
    property string help
    // What the button opens (its menu) shows: the tool tip stays away.
    property bool opensShown: false
    property alias keys: press.keys
    signal clicked()

    implicitWidth: 22
    implicitHeight: 22

    IslandPressStyle {
        id: press
        anchors.fill: parent
        pressed: area.pressed
        onActivated: root.clicked()
        label: root.help.length > 0 ? root.help : SymbolIcons.meaning(root.systemName)

        Item {
            width: 22
            height: 22
            Image {
                anchors.centerIn: parent
                width: root.size * 1.2
                height: root.size * 1.2
                sourceSize: Qt.size(width * 2, height * 2)
                source: root.systemName.length > 0 ? SymbolIcons.source(root.systemName, root.color) : ""
                smooth: true
            }
        }
    }

    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        // Only the circle inscribed in the frame answers.
        function inCircle(x, y) { return Math.hypot(x - width / 2, y - height / 2) <= width / 2 }
        onPressed: (mouse) => { mouse.accepted = inCircle(mouse.x, mouse.y) }
        onClicked: (mouse) => { if (inCircle(mouse.x, mouse.y)) root.clicked() }
    }

    ToolTip.visible: area.containsMouse && root.help.length > 0 && !root.opensShown
    ToolTip.text: root.help
    ToolTip.delay: 600
}
