import QtQuick
import QtQuick.Controls
import Pavlet
import Pavlet.Style

// Under the tiles in edit mode: the shipped modules the user has hidden, one
// tile each to bring it back, and the way to the Library.
Column {
    id: root
    required property HomeModel home
    readonly property color sky: IslandPalette.accent(IslandPalette.sky)
    readonly property color green: IslandPalette.accent(IslandPalette.green)
    spacing: IslandStyle.spacing
    topPadding: IslandStyle.spacingTiny

    // A tile in the island's press style, a stop of the Tab order.
    component TrayTile: IslandPressStyle {
        id: trayTile
        property string symbol
        property color tint
        property string title
        property string detail
        property string trailing
        signal tapped()
        implicitHeight: tileRow.implicitHeight + 16
        pressed: tileArea.pressed
        keys: true
        rimRadius: IslandStyle.radius
        onActivated: tapped()
        label: title
        Rectangle {
            width: trayTile.width
            height: trayTile.height
            radius: IslandStyle.radius
            color: IslandPalette.fill
        }
        Item {
            id: tileRow
            x: IslandStyle.spacing
            width: parent.width - 2 * IslandStyle.spacing
            implicitHeight: texts.implicitHeight
            anchors.verticalCenter: parent.verticalCenter
            Symbol {
                id: plus
                anchors.verticalCenter: parent.verticalCenter
                name: trayTile.symbol
                size: IslandStyle.fontSubhead
                color: trayTile.tint
            }
            Column {
                id: texts
                anchors.left: plus.right
                anchors.leftMargin: IslandStyle.spacing
                anchors.right: trailingText.left
                anchors.verticalCenter: parent.verticalCenter
                spacing: 1
                CardText { width: parent.width; text: trayTile.title; font.pixelSize: IslandStyle.fontFootnote }
                CardText {
                    width: parent.width
                    text: trayTile.detail
                    font.pixelSize: IslandStyle.fontMicro
                    font.weight: Font.Normal
                    color: IslandPalette.textTertiary
                }
            }
            CardText {
                id: trailingText
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                text: trayTile.trailing
                font.pixelSize: IslandStyle.fontCaption
                font.weight: Font.Normal
                color: root.sky
            }
        }
        MouseArea { id: tileArea; anchors.fill: parent; hoverEnabled: true; onClicked: trayTile.tapped() }
        property alias hovered: tileArea.containsMouse
    }

    CardText {
        text: root.home.trayTitle
        font.pixelSize: IslandStyle.fontCaption
        font.weight: Font.Normal
        color: IslandPalette.textTertiary
    }
    Grid {
        width: root.width
        visible: root.home.hiddenShipped.length > 0
        columns: 2
        spacing: IslandStyle.spacing
        Repeater {
            model: root.home.hiddenShipped
            TrayTile {
                required property moduleTile modelData
                width: Math.max(10, (root.width - IslandStyle.spacing) / 2)
                symbol: "plus.circle.fill"
                tint: root.green
                title: modelData.title
                detail: modelData.detail
                onTapped: root.home.addModule(modelData.id)
            }
        }
    }
    TrayTile {
        objectName: "libraryPress"
        width: root.width
        symbol: "square.grid.2x2.fill"
        tint: root.sky
        title: qsTr("Library")
        detail: qsTr("Install extra modules")
        trailing: qsTr("Open")
        onTapped: root.home.openLibrary()
        ToolTip.visible: hovered
        ToolTip.text: qsTr("Open Settings → Library")
        ToolTip.delay: 600
    }
}
