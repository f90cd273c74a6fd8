import QtQuick
import Pavlet
import Pavlet.Style

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
        textFormat: Text.PlainText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
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

    // Ideal widths of a fraction's parts at full size. When they do not
    // fit, the stacked numerator and denominator shrink first, together and
    // down to half their size; then the whole part shrinks as a plain
    // number does; a whole part still too long is shown by its first digits
    // and its power of ten, never cut at its start.
    TextMetrics {
        id: wholeIdeal
        font.family: IslandStyle.digitsFamily
        font.pixelSize: ToolViews.calcWholeSize
        font.weight: Font.DemiBold
        text: root.readout.whole
    }
    TextMetrics {
        id: compactIdeal
        font: wholeIdeal.font
        text: ToolViews.calcCompactWhole(root.readout.whole)
    }
    TextMetrics {
        id: numIdeal
        font.family: IslandStyle.digitsFamily
        font.pixelSize: IslandStyle.fontTitle3
        font.weight: Font.DemiBold
        text: root.readout.num
    }
    TextMetrics {
        id: denIdeal
        font: numIdeal.font
        text: root.readout.den
    }

    Row {
        id: fraction
        visible: root.isFraction
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        spacing: IslandStyle.spacing

        readonly property bool showsWhole: root.readout.hasWhole && root.readout.whole.length > 0
        readonly property real room: root.width - (root.readout.negative ? minus.implicitWidth + spacing : 0)
        readonly property real wholeIdealWidth: showsWhole ? Math.ceil(wholeIdeal.advanceWidth) + spacing : 0
        readonly property real stackIdeal: Math.max(1, Math.ceil(Math.max(numIdeal.advanceWidth, denIdeal.advanceWidth)))
        readonly property real stackRoom: Math.min(room, Math.max(stackIdeal * ToolViews.calcFractionMinScale,
                                                                  Math.min(stackIdeal, room - wholeIdealWidth)))
        readonly property int partSize: Math.max(Math.round(IslandStyle.fontTitle3 * ToolViews.calcFractionMinScale),
                                                 Math.min(IslandStyle.fontTitle3,
                                                          Math.floor(IslandStyle.fontTitle3 * stackRoom / stackIdeal)))
        // What is left for the whole part (a pixel spare for rounding).
        readonly property real wholeRoom: Math.max(0, room - stack.width - spacing - 1)
        readonly property bool wholeCompact: showsWhole
            && Math.ceil(wholeIdeal.advanceWidth) * ToolViews.calcDigitsMinScale > wholeRoom
        readonly property real wholeShownIdeal: Math.max(1, Math.ceil(wholeCompact ? compactIdeal.advanceWidth
                                                                                   : wholeIdeal.advanceWidth))
        readonly property int wholeSize: Math.max(Math.round(ToolViews.calcWholeSize * ToolViews.calcDigitsMinScale),
                                                  Math.min(ToolViews.calcWholeSize,
                                                           Math.floor(ToolViews.calcWholeSize * wholeRoom / wholeShownIdeal)))

        Text {
            id: minus
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            visible: root.readout.negative
            anchors.verticalCenter: parent.verticalCenter
            text: "\u2212"
            font.family: IslandStyle.digitsFamily
            font.pixelSize: IslandStyle.fontHuge
            font.weight: Font.DemiBold
            color: root.color
        }
        Text {
            id: whole
            objectName: "whole"
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            visible: fraction.showsWhole
            anchors.verticalCenter: parent.verticalCenter
            width: Math.min(implicitWidth, fraction.wholeRoom)
            text: fraction.wholeCompact ? compactIdeal.text : root.readout.whole
            // Only a short form that cannot fit even at its smallest loses
            // its end.
            elide: Text.ElideRight
            maximumLineCount: 1
            font.family: IslandStyle.digitsFamily
            font.pixelSize: fraction.wholeSize
            font.weight: Font.DemiBold
            color: root.color
        }
        Column {
            id: stack
            anchors.verticalCenter: parent.verticalCenter
            spacing: ToolViews.calcFractionGap
            readonly property real partWidth: Math.min(fraction.stackRoom, Math.max(num.implicitWidth, den.implicitWidth))
            Text {
                id: num
                objectName: "numerator"
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                anchors.horizontalCenter: parent.horizontalCenter
                width: Math.min(implicitWidth, stack.partWidth)
                text: root.readout.num
                elide: Text.ElideLeft
                maximumLineCount: 1
                font.family: IslandStyle.digitsFamily
                font.pixelSize: fraction.partSize
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
                objectName: "denominator"
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                anchors.horizontalCenter: parent.horizontalCenter
                width: Math.min(implicitWidth, stack.partWidth)
                text: root.readout.den
                elide: Text.ElideLeft
                maximumLineCount: 1
                font: num.font
                color: root.color
            }
        }
    }
}
