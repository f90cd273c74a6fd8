import QtQuick
import Pavlet

// The Pong card's picture.
PongPicture {
    width: GameViews.hubMarkWidth
    height: GameViews.hubMarkHeight
    paddleHeight: ActionViews.pongHubPaddleHeight
    paddleX: ActionViews.pongHubPaddleX
    ball: ActionViews.pongHubBall
    ballAt: ActionViews.pongHubBallAt
}
