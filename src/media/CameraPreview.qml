import QtQuick
import Pavlet
import QtMultimedia
import Pavlet.Style

// The camera's live picture, mirrored like a looking glass and filling its
// frame, on black.
Item {
    id: root
    // The mirror camera: it shows its picture in the output it is given.
    property MirrorCamera camera

    Rectangle {
        anchors.fill: parent
        color: IslandPalette.black
    }
    VideoOutput {
        id: output
        objectName: "cameraOutput"
        anchors.fill: parent
        fillMode: VideoOutput.PreserveAspectCrop
        transform: Scale {
            origin.x: output.width / 2
            xScale: -1
        }
    }
    onCameraChanged: if (camera) camera.setVideoOutput(output)
    Component.onCompleted: if (camera) camera.setVideoOutput(output)
}
