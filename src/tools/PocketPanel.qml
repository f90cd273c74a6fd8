import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The pocket shelf: the held files as rows that can be dragged out, the
// clipboard button and "Clear", or the card that asks for a drop.
Item {
    id: root
    required property PocketStore store
    // A file drag is over the island.
    required property bool targeted
    // The pointer came onto the panel; the back button was clicked;
    // "Clipboard" was clicked.
    signal pointerEntered()
    signal homeRequested()
    signal clipboardHeld()

    readonly property int count: store.items.count
    readonly property color coral: IslandPalette.accent(IslandPalette.coral)

    HoverHandler {
        onHoveredChanged: if (hovered) root.pointerEntered()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: IslandStyle.spacingMedium

        RowLayout {
            Layout.fillWidth: true
            spacing: IslandStyle.spacing
            IslandIconButton {
                systemName: "chevron.left"
                size: IslandStyle.fontBody
                color: root.coral
                help: qsTr("Home")
                onClicked: root.homeRequested()
            }
            ColumnLayout {
                spacing: 1
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: qsTr("Pocket")
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
                    text: ToolViews.pocketSubtitle(root.count, root.store.unsaved)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCaption
                    color: root.coral
                }
            }
            Item { Layout.fillWidth: true; Layout.minimumWidth: IslandStyle.spacing }
            IslandPressStyle {
                pressed: clipboardArea.pressed
                label: qsTr("Clipboard")
                onActivated: root.clipboardHeld()
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: qsTr("Clipboard")
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    color: root.coral
                }
                MouseArea {
                    id: clipboardArea
                    anchors.fill: parent
                    onClicked: root.clipboardHeld()
                }
            }
            // "Clear" keeps its place while the pocket is empty, so that
            // "Clipboard" never moves under the pointer as the first item
            // arrives and a second click there never clears the pocket.
            Item {
                implicitWidth: clearText.implicitWidth
                implicitHeight: clearText.implicitHeight
                Text {
                    id: clearText
                    objectName: "clear"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.Button
                    Accessible.name: text
                    Accessible.onPressAction: root.store.clear()
                    visible: root.count > 0
                    text: qsTr("Clear")
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    color: IslandPalette.textSecondary
                    MouseArea {
                        anchors.fill: parent
                        onClicked: root.store.clear()
                    }
                }
            }
        }

        // What the pocket is copying or reading, while it does.
        Text {
            objectName: "pocketActivity"
            visible: text !== ""
            Layout.fillWidth: true
            text: root.store.activity
            textFormat: Text.PlainText
            elide: Text.ElideMiddle
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontCaption
            color: IslandPalette.textSecondary
        }

        // What the last drop or "Clipboard" could not hold, by name.
        Text {
            objectName: "pocketError"
            visible: text !== ""
            Layout.fillWidth: true
            text: root.store.lastError
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            elide: Text.ElideRight
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontCaption
            color: IslandPalette.accent(IslandPalette.red)
        }

        ListView {
            id: list
            objectName: "pocketList"
            visible: root.count > 0
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            spacing: IslandStyle.spacingSmall
            boundsBehavior: Flickable.StopAtBounds
            model: root.store.items
            delegate: PocketRow {
                required property string itemId
                width: list.width
                onRemove: root.store.remove(itemId)
            }
            add: Transition {
                ParallelAnimation {
                    SpringAnimation { property: "opacity"; from: 0; to: 1; spring: IslandStyle.gamePageSpring.spring; damping: IslandStyle.gamePageSpring.damping; epsilon: 0.01 }
                    SpringAnimation { property: "y"; from: -ToolViews.pocketIconSize; spring: IslandStyle.gamePageSpring.spring; damping: IslandStyle.gamePageSpring.damping; epsilon: 0.5 }
                }
            }
            remove: Transition {
                ParallelAnimation {
                    SpringAnimation { property: "opacity"; to: 0; spring: IslandStyle.gamePageSpring.spring; damping: IslandStyle.gamePageSpring.damping; epsilon: 0.01 }
                    SpringAnimation { property: "scale"; to: 0.96; spring: IslandStyle.gamePageSpring.spring; damping: IslandStyle.gamePageSpring.damping; epsilon: 0.005 }
                }
            }
            displaced: Transition {
                SpringAnimation { property: "y"; spring: IslandStyle.gamePageSpring.spring; damping: IslandStyle.gamePageSpring.damping; epsilon: 0.5 }
            }
        }

        Item {
            visible: root.count === 0
            Layout.fillWidth: true
            Layout.fillHeight: true
            Rectangle {
                id: emptyCard
                objectName: "emptyCard"
                // Grows about its centre while a drag is over the island. The
                // card is drawn larger rather than scaled: a scaled rounded
                // rectangle shows dark seams where its corners meet its sides.
                property real grow: root.targeted ? ToolViews.pocketTargetScale : 1
                Behavior on grow {
                    SpringAnimation { spring: IslandStyle.pressSpring.spring; damping: IslandStyle.pressSpring.damping; epsilon: 0.001 }
                }
                readonly property real restHeight: Math.max(ToolViews.pocketEmptyHeight,
                                                            cardColumn.height + 2 * IslandStyle.spacingHuge)
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.leftMargin: -(grow - 1) * parent.width / 2
                anchors.rightMargin: anchors.leftMargin
                anchors.bottomMargin: -(grow - 1) * restHeight / 2
                height: restHeight * grow
                radius: IslandStyle.radiusCard
                color: IslandPalette.fill
                // The accent outline fades in and out with the same spring.
                Rectangle {
                    objectName: "dropOutline"
                    anchors.fill: parent
                    radius: parent.radius
                    color: IslandPalette.clear
                    border.width: IslandStyle.stroke
                    border.color: root.coral
                    opacity: root.targeted ? 1 : 0
                    Behavior on opacity {
                        SpringAnimation { spring: IslandStyle.pressSpring.spring; damping: IslandStyle.pressSpring.damping; epsilon: 0.01 }
                    }
                }
                Column {
                    id: cardColumn
                    anchors.centerIn: parent
                    width: emptyCard.parent.width - 2 * IslandStyle.spacingXLarge
                    scale: emptyCard.grow
                    spacing: IslandStyle.spacing
                    Symbol {
                        anchors.horizontalCenter: parent.horizontalCenter
                        name: "tray.and.arrow.down"
                        size: IslandStyle.fontLarge
                        color: root.coral
                    }
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        anchors.horizontalCenter: parent.horizontalCenter
                        text: qsTr("Drop files onto Pavlet")
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontBody
                        font.weight: Font.Medium
                        color: IslandPalette.textPrimary
                    }
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        width: parent.width
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.WordWrap
                        text: qsTr("They stay here until you drag them somewhere else or clear them.")
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontCaption
                        color: IslandPalette.textTertiary
                    }
                }
            }
        }
    }
}
