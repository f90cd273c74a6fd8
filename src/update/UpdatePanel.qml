import QtQuick
import Pavlet
import Pavlet.Style

// The update prompt: what is offered or happening, the release notes, the
// download's progress, the main button and "Later".
Item {
    id: root
    required property UpdateService updater
    // The pointer came onto the panel; "Later" was chosen.
    signal pointerEntered()
    signal dismissed()

    readonly property updatePanelTexts texts: UpdateViews.texts(updater, updater.status, updater.latest,
                                                                 updater.hasLatest)
    readonly property color yellow: IslandPalette.accent(IslandPalette.yellow)

    HoverHandler {
        onHoveredChanged: if (hovered) root.pointerEntered()
    }

    Column {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        spacing: IslandStyle.spacingMedium

        Item {
            width: parent.width
            height: Math.max(mark.height, titles.implicitHeight)
            Symbol {
                id: mark
                anchors.left: parent.left
                anchors.verticalCenter: parent.verticalCenter
                name: "arrow.down.circle.fill"
                size: IslandStyle.fontTitle3
                color: root.yellow
            }
            Column {
                id: titles
                anchors.left: mark.right
                anchors.leftMargin: IslandStyle.spacing
                anchors.right: parent.right
                anchors.rightMargin: IslandStyle.spacing
                anchors.verticalCenter: parent.verticalCenter
                spacing: 1
                Text {
                    objectName: "title"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    width: parent.width
                    text: root.texts.title
                    wrapMode: Text.WordWrap
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCallout
                    font.weight: Font.DemiBold
                    color: IslandPalette.textPrimary
                }
                Text {
                    objectName: "subtitle"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    width: parent.width
                    text: root.texts.subtitle
                    wrapMode: Text.WordWrap
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCaption
                    color: root.yellow
                }
            }
        }

        Text {
            objectName: "detail"
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            visible: root.texts.detail.length > 0
            width: parent.width
            text: root.texts.detail
            wrapMode: Text.WordWrap
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontBody
            font.weight: Font.Medium
            color: IslandPalette.textSecondary
        }

        Rectangle {
            objectName: "progress"
            visible: root.texts.showsProgress
            width: parent.width
            height: IslandStyle.spacingTiny
            radius: height / 2
            color: IslandPalette.fillStrong
            Rectangle {
                width: parent.width * root.texts.progress
                height: parent.height
                radius: height / 2
                color: root.yellow
            }
        }

        Row {
            spacing: IslandStyle.spacing
            IslandPressStyle {
                objectName: "primary"
                width: primaryFill.width
                height: primaryFill.height
                enabled: root.texts.primaryEnabled
                opacity: enabled ? 1 : IslandStyle.disabledOpacity
                pressed: primaryArea.pressed
                label: root.texts.primaryTitle
                onActivated: root.updater.downloadOrOpen()
                Rectangle {
                    id: primaryFill
                    width: primaryText.implicitWidth + 2 * IslandStyle.spacingLarge
                    height: primaryText.implicitHeight + 2 * IslandStyle.spacingSmall
                    radius: height / 2
                    color: root.yellow
                    Text {
                        id: primaryText
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        anchors.centerIn: parent
                        text: root.texts.primaryTitle
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontBody
                        font.weight: Font.Medium
                        color: IslandPalette.onAccent
                    }
                    MouseArea {
                        id: primaryArea
                        anchors.fill: parent
                        onClicked: root.updater.downloadOrOpen()
                    }
                }
            }
            IslandPressStyle {
                anchors.verticalCenter: parent.verticalCenter
                width: laterText.implicitWidth
                height: laterText.implicitHeight
                pressed: laterArea.pressed
                label: laterText.text
                onActivated: root.dismissed()
                Text {
                    id: laterText
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: qsTr("Later")
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontBody
                    font.weight: Font.Medium
                    color: IslandPalette.textSecondary
                    MouseArea {
                        id: laterArea
                        anchors.fill: parent
                        onClicked: root.dismissed()
                    }
                }
            }
        }
    }
}
