import QtQuick
import QtQuick.Controls.Basic
import Pavlet
import Pavlet.Style

// A pop-up picker over a list of {text, value} choices.
ComboBox {
    id: root
    textRole: "text"
    valueRole: "value"
    font.pixelSize: IslandStyle.fontCallout
    implicitHeight: IslandStyle.fontCallout * 2 + IslandStyle.spacingTiny

    contentItem: Text {
        textFormat: Text.PlainText
        leftPadding: IslandStyle.spacingMedium
        rightPadding: root.indicator.width + IslandStyle.spacing
        text: root.displayText
        font: root.font
        color: IslandPalette.textPrimary
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    indicator: Symbol {
        x: root.width - width - IslandStyle.spacing
        y: (root.height - height) / 2
        name: "chevron.down"
        size: IslandStyle.fontFootnote
        color: IslandPalette.textSecondary
    }
    background: Rectangle {
        radius: IslandStyle.radiusSmall
        color: root.pressed ? IslandPalette.fillStrong : IslandPalette.fill
        border.width: IslandStyle.strokeHair
        border.color: IslandPalette.fillStrong
        FocusRing {
            shown: root.visualFocus
        }
    }
    popup.background: Rectangle {
        radius: IslandStyle.radiusSmall
        color: IslandPalette.windowBackground
        border.width: IslandStyle.strokeHair
        border.color: IslandPalette.fillStrong
    }
    delegate: ItemDelegate {
        id: choice
        required property zoneOption modelData
        required property int index
        width: root.width
        highlighted: root.highlightedIndex === index
        contentItem: Text {
            textFormat: Text.PlainText
            text: choice.modelData.text
            font: root.font
            color: IslandPalette.textPrimary
            elide: Text.ElideRight
        }
        background: Rectangle {
            color: choice.highlighted ? IslandPalette.fillStrong : IslandPalette.clear
        }
    }
}
