import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// Files dropped here, or picked, are zipped into Downloads.
ModuleCard {
    id: root
    // The card's own engine; null where the machine cannot zip.
    required property ZipEngine engine
    readonly property color mint: IslandPalette.accent(IslandPalette.mint)
    readonly property bool running: engine ? engine.running : false
    title: qsTr("Compress")
    accent: mint

    Column {
        width: parent.width
        spacing: IslandStyle.spacing
        CardText {
            width: parent.width
            text: root.engine ? root.engine.status : qsTr("Drop files to zip, or pick them")
            font.pixelSize: IslandStyle.fontCaption
            font.weight: Font.Normal
            color: IslandPalette.textTertiary
        }
        RowLayout {
            width: parent.width
            CardText { Layout.fillWidth: true; text: qsTr("Drop onto this card") }
            IslandPressStyle {
                enabled: !root.running && !!root.engine
                pressed: pickArea.pressed
                keys: true
                onActivated: root.engine.pick()
                label: pick.text
                implicitWidth: pick.implicitWidth
                implicitHeight: pick.implicitHeight
                CardText { id: pick; text: root.running ? qsTr("Zipping") : qsTr("Pick"); font.pixelSize: IslandStyle.fontFootnote; color: root.mint }
                MouseArea { id: pickArea; anchors.fill: parent; onClicked: root.engine.pick() }
            }
        }
    }
    DropArea {
        anchors.fill: parent
        keys: ["text/uri-list"]
        onDropped: (drop) => {
            drop.accept()
            if (root.engine)
                root.engine.zip(drop.urls)
        }
    }
}
