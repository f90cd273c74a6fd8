import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The next two events and, when allowed, the next reminder.
ModuleCard {
    id: root
    // The reminder may show: wish on and access granted.
    required property bool remindersAllowed
    required property AppSettings settings
    required property NotchViewModel model
    readonly property bool showsReminder: model.nextReminder !== undefined && settings.calendarShowReminders && remindersAllowed
    readonly property color sky: IslandPalette.accent(IslandPalette.sky)
    readonly property color amber: IslandPalette.accent(IslandPalette.amber)
    title: qsTr("Up next")
    accent: sky

    AnimationTicker { id: ticker; running: root.visible; fps: 1 }

    component EventRow: RowLayout {
        id: eventRow
        required property nextEvent event
        required property color dot
        width: parent ? parent.width : 0
        spacing: IslandStyle.spacing
        Rectangle { width: HomeText.dotSize; height: width; radius: width / 2; color: eventRow.dot }
        CardText { text: eventRow.event.title; Layout.fillWidth: true }
        IslandPressStyle {
            visible: eventRow.event.isJoinableAt(ticker.now.getTime())
            pressed: joinArea.pressed
            keys: true
            onActivated: root.model.joinEvent(eventRow.event)
            label: join.text
            implicitWidth: join.implicitWidth + 16
            implicitHeight: join.implicitHeight + 6
            Rectangle {
                width: join.implicitWidth + 16
                height: join.implicitHeight + 6
                radius: height / 2
                color: IslandPalette.faded(root.sky, 0.18)
                CardText {
                    id: join
                    anchors.centerIn: parent
                    text: qsTr("Join")
                    font.pixelSize: IslandStyle.fontCaption
                    font.weight: Font.Normal
                    color: root.sky
                }
            }
            MouseArea { id: joinArea; anchors.fill: parent; onClicked: root.model.joinEvent(eventRow.event) }
        }
        CardText {
            digits: true
            text: HomeText.shortTime(eventRow.event.start)
            font.pixelSize: IslandStyle.fontFootnote
            font.weight: Font.Normal
            color: IslandPalette.textSecondary
        }
    }

    Column {
        width: parent.width
        spacing: IslandStyle.spacingSmall
        CardText {
            visible: root.model.upcomingEvents.length === 0 && !root.showsReminder
            text: qsTr("Calendar is clear")
            color: IslandPalette.textSecondary
        }
        Repeater {
            model: HomeText.firstEvents(root.model.upcomingEvents)
            EventRow { required property nextEvent modelData; event: modelData; dot: root.sky }
        }
        Loader {
            width: parent.width
            active: root.showsReminder
            sourceComponent: EventRow { event: root.model.nextReminder; dot: root.amber }
        }
    }
}
