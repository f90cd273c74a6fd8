import QtQuick
import Pavlet

// The calculator's big result: a number on one line that shrinks before it
// is cut, a mixed fraction with its parts stacked, or "Error".
Item {
    id: root
    required property calcReadout readout
    property color color: IslandPalette.textPrimary

    readonly property bool isFraction: readout.isFraction
    implicitHeight: isFraction ? fraction.implicitHeight : line.implicitHeight

    Text {
        id: line
        visible: !root.isFraction
        anchors.fill: parent
        horizontalAlignment: Text.AlignRight
        verticalAlignment: Text.AlignVCenter
        text: root.readout.lineText
        font.family: IslandStyle.digitsFamily
        font.pixelSize: IslandStyle.fontHuge
        font.weight: Font.DemiBold
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: Math.round(IslandStyle.fontHuge * ToolViews.calcDigitsMinScale)
        elide: Text.ElideLeft
        maximumLineCount: 1
        color: root.color
    }

    Row {
        id: fraction
        visible: root.isFraction
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        spacing: IslandStyle.spacing
        Text {
            visible: root.readout.negative
            anchors.verticalCenter: parent.verticalCenter
            text: "\u2212"
            font.family: IslandStyle.digitsFamily
            font.pixelSize: IslandStyle.fontHuge
            font.weight: Font.DemiBold
            color: root.color
        }
        Text {
            objectName: "whole"
            visible: root.readout.hasWhole && root.readout.whole.length > 0
            anchors.verticalCenter: parent.verticalCenter
            text: root.readout.whole
            font.family: IslandStyle.digitsFamily
            font.pixelSize: ToolViews.calcWholeSize
            font.weight: Font.DemiBold
            color: root.color
        }
        Column {
            id: stack
            anchors.verticalCenter: parent.verticalCenter
            spacing: ToolViews.calcFractionGap
            readonly property real partWidth: Math.max(num.implicitWidth, den.implicitWidth)
            Text {
                id: num
                anchors.horizontalCenter: parent.horizontalCenter
                text: root.readout.num
                font.family: IslandStyle.digitsFamily
                font.pixelSize: IslandStyle.fontTitle3
                font.weight: Font.DemiBold
                color: root.color
            }
            Rectangle {
                width: stack.partWidth
                height: IslandStyle.stroke
                color: root.color
            }
            Text {
                id: den
                anchors.horizontalCenter: parent.horizontalCenter
                text: root.readout.den
                font.family: IslandStyle.digitsFamily
                font.pixelSize: IslandStyle.fontTitle3
                font.weight: Font.DemiBold
                color: root.color
            }
        }
    }
}
