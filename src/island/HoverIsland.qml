import QtQuick
import QtQuick.Layouts
import Pavlet

// The hover island: one line about the live activity or the status pulse,
// with a mark before it and a Join button, playing bars or the temperature
// after it.
Item {
    id: root
    property var model
    property var settings
    property bool showClock: false
    // Where the weather may be shown at all (the location wish and grant).
    property bool wantLocation: true
    property bool locationGranted: true

    property date now: new Date()

    function accent(name) { return IslandPalette.accent(IslandPalette[name], IslandPalette.accentRevision) }

    HoverRules {
        id: rules
        ambient: root.model ? root.model.ambient : null
        liveActivity: root.model ? root.model.liveActivity : null
        nowPlaying: root.model ? root.model.nowPlaying : null
        nextAssignment: root.model ? root.model.nextAssignment : null
        upcomingEvents: root.model ? root.model.upcomingEvents : null
        weather: root.model ? root.model.weather : null
        showClock: root.showClock
        clockText: root.settings ? root.settings.formatTime(root.now, false) : ""
        playerHidden: root.settings ? (root.settings.disabledModules, !root.settings.isModuleEnabled("player")) : false
        showVisualizer: root.settings ? root.settings.playerShowVisualizer : false
        weatherHidden: root.settings ? (root.settings.disabledModules, !root.settings.isModuleEnabled("weather")) : false
        wantLocation: root.wantLocation
        locationGranted: root.locationGranted
        now: root.now
    }

    // The clock text and the join window follow the time while shown.
    Timer {
        interval: 1000
        repeat: true
        running: root.visible
        onTriggered: root.now = new Date()
    }

    RowLayout {
        id: row
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: root.model && root.model.usesFloatingIsland ? parent.verticalCenter : undefined
        anchors.bottom: root.model && root.model.usesFloatingIsland ? undefined : parent.bottom
        height: 22
        spacing: 10

        Item {
            Layout.preferredWidth: 22
            Layout.preferredHeight: 22
            visible: rules.markKind !== "none"

            Symbol {
                anchors.centerIn: parent
                visible: rules.markKind === "symbol"
                name: visible ? rules.markSymbol : ""
                size: 11
                color: root.accent(rules.markColorName || "sky")
            }
            Loader {
                anchors.centerIn: parent
                active: rules.markKind === "artwork"
                sourceComponent: ArtworkView {
                    size: 22
                    corner: 5
                    accent: root.accent(rules.markColorName)
                    symbol: rules.markSymbol
                    image: root.model && root.model.nowPlaying && root.model.nowPlaying.hasArtwork
                           ? "image://artwork/" + root.model.nowPlaying.artworkKey : ""
                }
            }
            Loader {
                anchors.centerIn: parent
                active: rules.markKind === "clock"
                sourceComponent: TickingClock { size: 16; color: IslandPalette.amber }
            }
        }

        Text {
            Layout.fillWidth: true
            text: rules.title
            elide: Text.ElideRight
            maximumLineCount: 1
            font.pixelSize: 12
            font.weight: Font.Medium
            color: IslandPalette.textPrimary
        }

        Item {
            Layout.preferredWidth: 4
        }

        Loader {
            Layout.alignment: Qt.AlignVCenter
            active: rules.accessoryKind !== "none"
            sourceComponent: rules.accessoryKind === "join" ? join
                           : rules.accessoryKind === "bars" ? bars : temperature
        }
    }

    Component {
        id: join
        Rectangle {
            id: button
            readonly property color tint: root.accent("sky")
            implicitWidth: label.implicitWidth + 16
            implicitHeight: label.implicitHeight + 6
            radius: height / 2
            color: Qt.rgba(tint.r, tint.g, tint.b, 0.2)
            scale: press.pressed ? 0.96 : 1
            opacity: press.pressed ? 0.86 : 1
            Behavior on scale { SpringAnimation { spring: IslandViews.spring(0.2, 0.68).spring; damping: IslandViews.spring(0.2, 0.68).damping } }
            Behavior on opacity { SpringAnimation { spring: IslandViews.spring(0.2, 0.68).spring; damping: IslandViews.spring(0.2, 0.68).damping } }
            Text {
                id: label
                anchors.centerIn: parent
                text: qsTr("Join")
                font.pixelSize: 10
                color: button.tint
            }
            MouseArea {
                id: press
                anchors.fill: parent
                onClicked: if (root.model && rules.joinEvent) root.model.joinEvent(rules.joinEvent)
            }
        }
    }
    Component {
        id: bars
        PlayingBars { height: 12; color: root.accent(rules.accessoryColorName) }
    }
    Component {
        id: temperature
        Text {
            text: rules.accessoryText
            font.pixelSize: 11
            color: root.accent("sky")
        }
    }
}
