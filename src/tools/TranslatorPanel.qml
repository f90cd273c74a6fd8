import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The translator: the way back, the status line, paste and clear; the two
// language menus with swap and Translate; the text to translate and the
// translation.
Item {
    id: root
    required property TranslatorEngine engine
    // The pointer came onto the panel; the back button was clicked.
    signal pointerEntered()
    signal homeRequested()

    readonly property color sky: IslandPalette.accent(IslandPalette.sky)

    FontMetrics {
        id: inputMetrics
        font.family: IslandStyle.roundedFamily
        font.pixelSize: IslandStyle.fontCallout
        font.weight: Font.Medium
    }

    // Typing goes on after the text already there.
    function focusInput() {
        input.forceActiveFocus()
        input.cursorPosition = input.length
    }
    Component.onCompleted: focusInput()

    HoverHandler {
        onHoveredChanged: if (hovered) root.pointerEntered()
    }

    component MenuLabel: Rectangle {
        id: label
        property string text
        signal clicked()
        Accessible.role: Accessible.Button
        Accessible.name: text
        Accessible.onPressAction: label.clicked()
        implicitWidth: labelRow.implicitWidth + 2 * IslandStyle.spacing
        implicitHeight: labelRow.implicitHeight + 2 * IslandStyle.spacingSmall
        radius: height / 2
        color: IslandPalette.fill
        Row {
            id: labelRow
            anchors.centerIn: parent
            spacing: IslandStyle.spacingTiny
            Text {
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                anchors.verticalCenter: parent.verticalCenter
                text: label.text
                maximumLineCount: 1
                font.family: IslandStyle.roundedFamily
                font.pixelSize: IslandStyle.fontFootnote
                color: IslandPalette.textPrimary
            }
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                name: "chevron.down"
                size: IslandStyle.fontMicro - 1
                color: IslandPalette.textPrimary
            }
        }
        MouseArea {
            anchors.fill: parent
            onClicked: label.clicked()
        }
    }

    component LanguageMenu: Menu {
        id: menu
        property bool withDetect: false
        signal chosen(string id)
        MenuItem {
            visible: menu.withDetect
            height: visible ? implicitHeight : 0
            text: qsTr("Detect")
            onTriggered: menu.chosen("auto")
        }
        Instantiator {
            model: root.engine.languages
            delegate: MenuItem {
                required property translatorLanguage modelData
                text: modelData.name
                onTriggered: menu.chosen(modelData.id)
            }
            onObjectAdded: (index, object) => menu.insertItem(index + 1, object)
            onObjectRemoved: (index, object) => menu.removeItem(object)
        }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: IslandStyle.spacingMedium

        // The two rows are anchored rather than laid out: their pieces
        // come and go and change width with the texts.
        Item {
            Layout.fillWidth: true
            implicitHeight: Math.max(back.height, titleColumn.implicitHeight)
            IslandIconButton {
                id: back
                anchors.left: parent.left
                anchors.verticalCenter: parent.verticalCenter
                systemName: "chevron.left"
                size: IslandStyle.fontBody
                color: root.sky
                help: qsTr("Home")
                onClicked: root.homeRequested()
            }
            Column {
                id: titleColumn
                anchors.left: back.right
                anchors.leftMargin: IslandStyle.spacing
                anchors.verticalCenter: parent.verticalCenter
                spacing: 1
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: qsTr("Translator")
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCallout
                    font.weight: Font.DemiBold
                    color: IslandPalette.textPrimary
                }
                Text {
                    objectName: "status"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: ToolViews.translatorStatus(root.engine.busy, root.engine.status, root.engine.output,
                                                     root.engine.pairLabel)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCaption
                    color: root.sky
                }
            }
            Row {
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                spacing: IslandStyle.spacing
                IslandPressStyle {
                    objectName: "paste"
                    pressed: pasteArea.pressed
                    label: qsTr("Paste")
                    onActivated: {
                        root.engine.pasteFromClipboard()
                        root.focusInput()
                    }
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: qsTr("Paste")
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontFootnote
                        color: root.sky
                    }
                    MouseArea {
                        id: pasteArea
                        anchors.fill: parent
                        onClicked: {
                            root.engine.pasteFromClipboard()
                            root.focusInput()
                        }
                    }
                }
                Text {
                    objectName: "clear"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.Button
                    Accessible.name: text
                    Accessible.onPressAction: {
                        root.engine.clear()
                        root.focusInput()
                    }
                    visible: ToolViews.translatorShowsClear(root.engine.input, root.engine.output)
                    text: qsTr("Clear")
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    color: IslandPalette.textSecondary
                    MouseArea {
                        anchors.fill: parent
                        onClicked: {
                            root.engine.clear()
                            root.focusInput()
                        }
                    }
                }
            }
        }

        Item {
            Layout.fillWidth: true
            implicitHeight: sourceLabel.implicitHeight
            Row {
                anchors.left: parent.left
                anchors.verticalCenter: parent.verticalCenter
                spacing: IslandStyle.spacing
                MenuLabel {
                    id: sourceLabel
                    objectName: "sourceLabel"
                    text: root.engine.sourceLabel
                    // The menus are made on first use.
                    onClicked: {
                        sourceMenu.active = true
                        sourceMenu.item.popup(this, 0, height)
                    }
                    Loader {
                        id: sourceMenu
                        active: false
                        sourceComponent: LanguageMenu {
                            withDetect: true
                            onChosen: (id) => root.engine.source = id
                        }
                    }
                }
                IslandIconButton {
                    anchors.verticalCenter: parent.verticalCenter
                    systemName: "arrow.left.arrow.right"
                    size: IslandStyle.fontFootnote
                    color: IslandPalette.textSecondary
                    help: qsTr("Swap")
                    onClicked: root.engine.swapLanguages()
                }
                MenuLabel {
                    objectName: "targetLabel"
                    text: root.engine.targetLabel
                    onClicked: {
                        targetMenu.active = true
                        targetMenu.item.popup(this, 0, height)
                    }
                    Loader {
                        id: targetMenu
                        active: false
                        sourceComponent: LanguageMenu {
                            onChosen: (id) => root.engine.target = id
                        }
                    }
                }
            }
            IslandPressStyle {
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                pressed: translateArea.pressed
                label: ToolViews.translateTitle(root.engine.busy)
                onActivated: if (root.engine.canTranslate) root.engine.translate()
                Text {
                    objectName: "translateButton"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: ToolViews.translateTitle(root.engine.busy)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontBody
                    font.weight: Font.Medium
                    color: root.engine.canTranslate ? root.sky : IslandPalette.textTertiary
                }
                MouseArea {
                    id: translateArea
                    anchors.fill: parent
                    enabled: root.engine.canTranslate
                    onClicked: root.engine.translate()
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: Math.max(ToolViews.translatorInputHeight,
                                     inputColumn.implicitHeight + 2 * IslandStyle.spacingMedium)
            radius: IslandStyle.radiusCard
            color: IslandPalette.fill
            ColumnLayout {
                id: inputColumn
                anchors.fill: parent
                anchors.leftMargin: IslandStyle.spacingLarge
                anchors.rightMargin: IslandStyle.spacingLarge
                anchors.topMargin: IslandStyle.spacingMedium
                anchors.bottomMargin: IslandStyle.spacingMedium
                spacing: IslandStyle.spacingSmall
                Text {
                    objectName: "inputLabel"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: qsTr("Input")
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCaption
                    color: IslandPalette.textTertiary
                }
                ScrollView {
                    Layout.fillWidth: true
                    padding: 0
                    // The text wraps at the view's width: its own width never
                    // feeds back into the view's.
                    contentWidth: availableWidth
                    Layout.preferredHeight: ToolViews.translatorInputTextHeight(input.contentHeight,
                                                                                inputMetrics.lineSpacing)
                    ScrollBar.vertical.policy: ScrollBar.AlwaysOff
                    TextArea {
                        id: input
                        objectName: "input"
                        text: root.engine.input
                        onTextChanged: if (text !== root.engine.input) root.engine.input = text
                        placeholderText: qsTr("Type or paste text")
                        Accessible.name: qsTr("Input")
                        placeholderTextColor: IslandPalette.textTertiary
                        wrapMode: TextEdit.Wrap
                        // Flush with the "Input" label above it.
                        padding: 0
                        leftPadding: 0
                        rightPadding: 0
                        topPadding: 0
                        bottomPadding: 0
                        background: null
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontCallout
                        font.weight: Font.Medium
                        color: IslandPalette.textPrimary
                        selectByMouse: true
                        Keys.onReturnPressed: (event) => {
                            if (event.modifiers & Qt.ShiftModifier)
                                event.accepted = false
                            else
                                root.engine.translate()
                        }
                        Keys.onEnterPressed: root.engine.translate()
                    }
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.minimumHeight: ToolViews.translatorOutputHeight
            radius: IslandStyle.radiusCard
            color: IslandPalette.fill
            opacity: root.engine.busy ? ToolViews.translatorBusyOpacity : 1
            ColumnLayout {
                anchors.fill: parent
                anchors.leftMargin: IslandStyle.spacingLarge
                anchors.rightMargin: IslandStyle.spacingLarge
                anchors.topMargin: IslandStyle.spacingMedium
                anchors.bottomMargin: IslandStyle.spacingMedium
                spacing: IslandStyle.spacingSmall
                RowLayout {
                    Layout.fillWidth: true
                    Text {
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: qsTr("Output")
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontCaption
                        color: IslandPalette.textTertiary
                    }
                    Item { Layout.fillWidth: true; Layout.minimumWidth: IslandStyle.spacing }
                    Text {
                        objectName: "copy"
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.Button
                        Accessible.name: text
                        Accessible.onPressAction: root.engine.copyOutput()
                        visible: root.engine.output.length > 0
                        text: qsTr("Copy")
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontFootnote
                        color: root.sky
                        MouseArea {
                            anchors.fill: parent
                            onClicked: root.engine.copyOutput()
                        }
                    }
                }
                Flickable {
                    visible: root.engine.output.length > 0
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    clip: true
                    contentHeight: output.implicitHeight
                    boundsBehavior: Flickable.StopAtBounds
                    TextEdit {
                        id: output
                        objectName: "output"
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        width: parent.width
                        readOnly: true
                        selectByMouse: true
                        wrapMode: TextEdit.Wrap
                        textFormat: TextEdit.PlainText
                        text: root.engine.output
                        font.family: IslandStyle.roundedFamily
                        font.pixelSize: IslandStyle.fontTitle3
                        font.weight: Font.DemiBold
                        color: IslandPalette.textPrimary
                        selectionColor: root.sky
                    }
                }
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    visible: root.engine.output.length === 0
                    text: qsTr("Translation appears here")
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCallout
                    font.weight: Font.Medium
                    color: IslandPalette.textTertiary
                }
                Item { Layout.fillHeight: true; visible: root.engine.output.length === 0 }
            }
        }
    }
}
