import QtQuick
import Pavlet

// Two paddles and the ball, still.
PongPicture {
    implicitWidth: 2 * ActionViews.pongVisualPaddleX + ActionViews.pongPaddleMin
    implicitHeight: ActionViews.pongVisualHeight
    paddleHeight: ActionViews.pongVisualPaddleHeight
    paddleX: ActionViews.pongVisualPaddleX
    ball: ActionViews.pongVisualBall
    ballAt: ActionViews.pongVisualBallAt
}
