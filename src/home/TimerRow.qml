import QtQuick
import QtQuick.Controls
import Pavlet
import Pavlet.Style

// The countdown: minute nudges around the time (typed in place), the 5, 15
// and 25 minute presets, and play and reset.
Item {
    id: root
    required property TimerStore timer
    required property AppSettings settings
    readonly property color amber: IslandPalette.accent(IslandPalette.amber)
    implicitHeight: Math.max(left.implicitHeight, buttons.implicitHeight)

    TimerRowState { id: typing; timer: root.timer; field: field }

    component MinuteButton: IslandPressStyle {
        id: minute
        property string symbol
        property int step
        property string help
        enabled: !root.timer.isRunning
        opacity: root.timer.isRunning ? IslandStyle.disabledOpacity : 1
        pressed: minuteArea.pressed
        keys: true
        onActivated: root.timer.adjust(minute.step)
        label: help
        implicitWidth: HomeText.timerButtonSize
        implicitHeight: HomeText.timerButtonSize
        Rectangle {
            width: HomeText.timerButtonSize; height: width; radius: width / 2
            color: IslandPalette.fillStrong
            Symbol { anchors.centerIn: parent; name: minute.symbol; size: IslandStyle.fontMicro; color: root.amber }
        }
        MouseArea { id: minuteArea; anchors.fill: parent; hoverEnabled: true; onClicked: root.timer.adjust(minute.step) }
        ToolTip.visible: minuteArea.containsMouse
        ToolTip.text: help
        ToolTip.delay: 600
    }

    Row {
        id: left
        anchors.verticalCenter: parent.verticalCenter
        spacing: IslandStyle.spacing
        Row {
            anchors.verticalCenter: parent.verticalCenter
            spacing: IslandStyle.spacingTiny
            MinuteButton { anchors.verticalCenter: parent.verticalCenter; symbol: "minus"; step: -1; help: qsTr("One minute less") }
            Item {
                width: Math.max(72, shown.implicitWidth)
                height: shown.implicitHeight
                // The time, a button that opens the field while the timer
                // is stopped.
                IslandPressStyle {
                    id: timeButton
                    anchors.centerIn: parent
                    visible: !field.visible
                    keys: !root.timer.isRunning
                    onActivated: typing.begin()
                    label: root.timer.display
                    Text {
                        id: shown
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: root.timer.display
                        font.family: IslandStyle.digitsFamily
                        font.pixelSize: IslandStyle.fontLarge
                        font.weight: Font.DemiBold
                        color: root.timer.isRunning ? root.amber : IslandPalette.textPrimary
                        MouseArea {
                            id: timeArea
                            anchors.fill: parent
                            hoverEnabled: true
                            onClicked: typing.begin()
                            ToolTip.visible: containsMouse && !field.visible
                            ToolTip.text: qsTr("Click to type a time, like 25 or 1:30")
                            ToolTip.delay: 600
                        }
                    }
                }
                TextField {
                    id: field
                    anchors.centerIn: parent
                    width: parent.width
                    visible: typing.editing && !root.timer.isRunning
                    padding: 0
                    background: null
                    horizontalAlignment: Text.AlignHCenter
                    placeholderText: "25:00"
                    Accessible.name: qsTr("Timer")
                    font: shown.font
                    color: IslandPalette.textPrimary
                    text: typing.draft
                    onTextEdited: typing.draft = text
                    // Return leaves the keyboard with the time it typed.
                    onAccepted: {
                        typing.commit()
                        timeButton.forceActiveFocus(Qt.TabFocusReason)
                    }
                    onActiveFocusChanged: if (!activeFocus) typing.commit()
                    onVisibleChanged: if (visible) { forceActiveFocus(); selectAll() }
                }
            }
            MinuteButton { anchors.verticalCenter: parent.verticalCenter; symbol: "plus"; step: 1; help: qsTr("One minute more") }
        }
        Row {
            anchors.verticalCenter: parent.verticalCenter
            visible: root.settings.timerShowPresets
            spacing: IslandStyle.spacingSmall
            Repeater {
                model: [5, 15, 25]
                IslandPressStyle {
                    id: pill
                    required property int modelData
                    readonly property bool selected: HomeText.presetSelected(root.timer.preset, modelData)
                    anchors.verticalCenter: parent.verticalCenter
                    implicitWidth: pillText.implicitWidth + 16
                    implicitHeight: pillText.implicitHeight + 8
                    pressed: pillArea.pressed
                    keys: true
                    onActivated: root.timer.setPreset(pill.modelData * 60)
                    label: qsTr("%1 minutes").arg(pill.modelData)
                    Accessible.checkable: true
                    Accessible.checked: pill.selected
                    Rectangle {
                        width: pill.width; height: pill.height; radius: height / 2
                        color: pill.selected ? root.amber : IslandPalette.fillStrong
                        Text {
                            id: pillText
                            textFormat: Text.PlainText
                            Accessible.role: Accessible.StaticText
                            Accessible.name: text
                            anchors.centerIn: parent
                            text: pill.modelData + "m"
                            font.family: IslandStyle.roundedFamily
                            font.pixelSize: IslandStyle.fontFootnote
                            font.weight: Font.Medium
                            color: pill.selected ? IslandPalette.black : IslandPalette.textTertiary
                        }
                    }
                    MouseArea { id: pillArea; anchors.fill: parent; onClicked: root.timer.setPreset(pill.modelData * 60) }
                }
            }
        }
    }
    Row {
        id: buttons
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        spacing: IslandStyle.spacing
        MediaButton {
            anchors.verticalCenter: parent.verticalCenter
            systemName: root.timer.isRunning ? "pause.fill" : "play.fill"
            size: IslandStyle.fontBody
            emphasized: true
            accent: root.amber
            keys: true
            onClicked: root.timer.isRunning ? root.timer.pause() : root.timer.start()
        }
        MediaButton {
            anchors.verticalCenter: parent.verticalCenter
            systemName: "arrow.counterclockwise"
            size: IslandStyle.fontFootnote
            accent: root.amber
            keys: true
            onClicked: root.timer.reset()
        }
    }
}
