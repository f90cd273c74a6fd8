import QtQuick
import Pavlet

Item {
    implicitWidth: board.width
    implicitHeight: GameViews.toeHowToHeight
    ToeMiniBoard { id: board; anchors.centerIn: parent; cell: GameViews.toeHowToCell }
}
