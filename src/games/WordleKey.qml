import QtQuick
import Pavlet
import Pavlet.Style

// One key of the word game's keyboard: a letter, or ENTER / DEL.
Item {
    id: root
    property string title
    property bool wide: false
    property color fill: IslandPalette.fillStrong
    signal clicked()
    Accessible.role: Accessible.Button
    Accessible.name: title
    Accessible.onPressAction: root.clicked()

    implicitWidth: Math.max(label.implicitWidth, wide ? GameViews.wideKeyWidth : GameViews.keyWidth)
                   + (wide ? 2 * GameViews.wideKeyPadding : 0)
    implicitHeight: Math.max(label.implicitHeight, GameViews.keyHeight)

    Rectangle {
        anchors.fill: parent
        radius: GameViews.keyRadius
        color: root.fill
        Text {
            id: label
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            anchors.centerIn: parent
            text: root.title.toUpperCase()
            font.family: IslandStyle.roundedFamily
            font.pixelSize: root.wide ? IslandStyle.fontMicro : IslandStyle.fontCaption
            color: IslandPalette.textPrimary
        }
    }
    MouseArea {
        anchors.fill: parent
        onClicked: root.clicked()
    }
}
