import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// One game's card on the arcade: its picture, name and line, its record
// (when there is one to show) and a chevron. A click opens the game.
Item {
    id: root
    required property string title
    required property string detail
    required property string bestLabel
    // The record as shown; empty: no record column.
    required property string recordText
    property color accent: IslandPalette.yellow
    // The picture: a QML file.
    property url preview
    signal clicked()

    implicitHeight: row.implicitHeight + 2 * IslandStyle.spacingMedium

    IslandPressStyle {
        anchors.fill: parent
        pressed: area.pressed
        label: root.title
        Accessible.description: root.detail
        onActivated: root.clicked()
        Rectangle {
            width: root.width
            height: root.height
            radius: IslandStyle.radiusCard
            color: IslandPalette.fill

            RowLayout {
                id: row
                x: IslandStyle.spacingLarge
                width: parent.width - 2 * IslandStyle.spacingLarge
                anchors.verticalCenter: parent.verticalCenter
                spacing: IslandStyle.spacingLarge

                Item {
                    Layout.preferredWidth: GameViews.previewWidth
                    Layout.preferredHeight: GameViews.previewHeight
                    Loader {
                        objectName: "cardPicture"
                        anchors.centerIn: parent
                        source: root.preview
                    }
                }
                ColumnLayout {
                    objectName: "cardTexts"
                    Layout.fillWidth: true
                    spacing: IslandStyle.spacingHair
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        Layout.fillWidth: true
                        elide: Text.ElideRight
                        text: root.title
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontCallout
                        font.weight: Font.Medium
                        color: IslandPalette.textPrimary
                    }
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        Layout.fillWidth: true
                        elide: Text.ElideRight
                        text: root.detail
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontCaption
                        color: IslandPalette.textSecondary
                    }
                }
                // Keeps the name and line clear of the record.
                Item {
                    objectName: "recordSpacer"
                    Layout.preferredWidth: IslandStyle.spacing
                    Layout.minimumWidth: IslandStyle.spacing
                }
                Column {
                    objectName: "record"
                    visible: root.recordText.length > 0
                    spacing: GameViews.titleSpacing
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        anchors.right: parent.right
                        text: root.bestLabel
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: GameViews.recordLabelSize
                        font.letterSpacing: GameViews.recordLabelSpacing
                        color: root.accent
                    }
                    TabularText {
                        anchors.right: parent.right
                        text: root.recordText
                        font.pixelSize: IslandStyle.fontSubhead
                        font.weight: Font.DemiBold
                        color: root.accent
                    }
                }
                // Held in a frame of its own: a layout would otherwise resize
                // the image, and the image its source.
                Item {
                    implicitWidth: chevron.width
                    implicitHeight: chevron.height
                    Symbol {
                        id: chevron
                        name: "chevron.right"
                        size: IslandStyle.fontFootnote
                        color: IslandPalette.textTertiary
                    }
                }
            }
        }
    }

    MouseArea {
        id: area
        anchors.fill: parent
        onClicked: root.clicked()
    }
}
