import QtQuick
import Pavlet
import Pavlet.Style

// Pong at rest: the gold paddle left, the computer's right and the ball,
// placed by offsets from the centre.
Item {
    id: root
    property real paddleHeight
    property real paddleX
    property real ball
    property point ballAt
    readonly property color gold: IslandPalette.accent(IslandPalette.yellow)

    Rectangle {
        x: root.width / 2 - root.paddleX - width / 2
        y: (root.height - height) / 2
        width: ActionViews.pongPaddleMin
        height: root.paddleHeight
        radius: width / 2
        color: root.gold
    }
    Rectangle {
        x: root.width / 2 + root.paddleX - width / 2
        y: (root.height - height) / 2
        width: ActionViews.pongPaddleMin
        height: root.paddleHeight
        radius: width / 2
        color: IslandPalette.white80
    }
    Rectangle {
        x: root.width / 2 + root.ballAt.x - width / 2
        y: root.height / 2 + root.ballAt.y - height / 2
        width: root.ball
        height: root.ball
        radius: width / 2
        color: root.gold
    }
}
