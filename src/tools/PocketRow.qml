import QtQuick
import Pavlet
import Pavlet.Style

// One held file: its icon, name and size, and a cross that lets go of it.
// Dragging the row hands the held copy to another program.
Rectangle {
    id: root
    required property string name
    required property string path
    required property bool isDirectory
    required property real byteCount
    // The held copy is no longer on disk.
    required property bool missing
    signal remove()
    Accessible.role: Accessible.ListItem
    Accessible.name: name

    implicitHeight: Math.max(ToolViews.pocketIconSize, texts.implicitHeight) + 2 * IslandStyle.spacing
    radius: IslandStyle.radius
    color: IslandPalette.fill

    Drag.supportedActions: Qt.CopyAction
    Drag.mimeData: root.missing ? ({}) : ToolViews.pocketDragData(root.path)

    // The drag to another program starts from the mouse area's own start
    // and runs until the drop (a binding of Drag.active with an automatic
    // drag would be evaluated again from inside the drag's loop).
    MouseArea {
        id: dragArea
        anchors.fill: parent
        drag.target: dragProxy
        drag.onActiveChanged: {
            if (!drag.active)
                return
            // Taken afresh: the copy may have gone since the row was drawn.
            root.Drag.mimeData = ToolViews.pocketDragData(root.path)
            root.Drag.active = true
            root.Drag.startDrag(Qt.CopyAction)
            root.Drag.active = false
        }
    }
    Item { id: dragProxy }

    Item {
        id: row
        anchors.fill: parent
        anchors.leftMargin: IslandStyle.spacingMedium
        anchors.rightMargin: IslandStyle.spacingMedium
        Image {
            id: icon
            anchors.verticalCenter: parent.verticalCenter
            width: ToolViews.pocketIconSize
            height: ToolViews.pocketIconSize
            sourceSize: Qt.size(2 * ToolViews.pocketIconSize, 2 * ToolViews.pocketIconSize)
            source: ToolViews.pocketIcon(root.path, root.isDirectory)
            fillMode: Image.PreserveAspectFit
            asynchronous: true
        }
        Column {
            id: texts
            objectName: "texts"
            anchors.left: icon.right
            anchors.leftMargin: IslandStyle.spacingMedium
            anchors.right: cross.left
            // The row's spacing on each side of a short spacer.
            anchors.rightMargin: 2 * IslandStyle.spacingMedium + IslandStyle.spacingTiny
            anchors.verticalCenter: parent.verticalCenter
            spacing: 1
            Text {
                width: parent.width
                objectName: "name"
                text: root.name
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                elide: Text.ElideRight
                maximumLineCount: 1
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontBody
                font.weight: Font.Medium
                color: IslandPalette.textPrimary
            }
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                width: parent.width
                objectName: "detail"
                text: ToolViews.pocketDetail(root.isDirectory, root.byteCount, root.missing)
                wrapMode: Text.WordWrap
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontCaption
                color: root.missing ? IslandPalette.accent(IslandPalette.coral) : IslandPalette.textTertiary
            }
        }
        Symbol {
            id: cross
            objectName: "remove"
            Accessible.role: Accessible.Button
            Accessible.name: qsTr("Remove")
            Accessible.onPressAction: root.remove()
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            name: "xmark.circle.fill"
            size: IslandStyle.fontSubhead
            color: IslandPalette.textTertiary
            MouseArea {
                anchors.fill: parent
                onClicked: root.remove()
            }
        }
    }
}
