import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The Home panel's top row: the clock, weather and battery, then the icon
// strip, the settings button and the edit button.
RowLayout {
    id: root
    required property NotchViewModel model
    required property AppSettings settings
    required property HomeModel home
    // Where the header's menus may show.
    property Item menuBounds: null
    readonly property bool editing: model.isEditingModules
    readonly property color sky: IslandPalette.accent(IslandPalette.sky)
    readonly property color green: IslandPalette.accent(IslandPalette.green)
    spacing: IslandStyle.spacingMedium

    AnimationTicker { id: ticker; running: root.visible; fps: 1 }
    onEditingChanged: bounce.restart()

    // Short of room the clock gives way first; only then does the icon
    // strip narrow and scroll, so the edit button always stays in view.
    readonly property real besidesRight: HomeText.headerSpacerMinimum
        + spacing * (2 + (weatherGroup.visible ? 1 : 0) + (batteryGroup.visible ? 1 : 0))
        + (weatherGroup.visible ? weatherGroup.implicitWidth : 0)
        + (batteryGroup.visible ? batteryGroup.implicitWidth : 0)

    Text {
        id: clock
        objectName: "headerClock"
        textFormat: Text.PlainText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        // Its full width measured apart: an elided text may report its cut one.
        readonly property real fullWidth: Math.ceil(clockMetrics.advanceWidth)
        // Shown only whole: given less room it steps aside altogether (a text
        // given no width at all would draw itself whole, under the icons).
        opacity: width >= fullWidth - 0.5 ? 1 : 0
        Layout.fillWidth: true
        Layout.minimumWidth: 0
        Layout.preferredWidth: fullWidth
        Layout.maximumWidth: fullWidth
        elide: Text.ElideRight
        text: root.settings.formatTime(ticker.now, true)
        font.family: IslandStyle.digitsFamily
        font.pixelSize: IslandStyle.fontBody
        font.weight: Font.Medium
        color: IslandPalette.textSecondary
    }
    TextMetrics { id: clockMetrics; font: clock.font; text: clock.text }
    Item { Layout.fillWidth: true; Layout.minimumWidth: HomeText.headerSpacerMinimum }
    Row {
        id: weatherGroup
        visible: root.home.weatherShown
        spacing: HomeText.listSpacing
        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            name: root.model.weather ? root.model.weather.symbol : ""
            size: IslandStyle.fontFootnote
            color: root.sky
        }
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: root.model.weather ? HomeText.degrees(root.model.weather.temperature) : ""
            font.family: IslandStyle.digitsFamily
            font.pixelSize: IslandStyle.fontBody
            font.weight: Font.Medium
            color: root.sky
        }
    }
    Row {
        id: batteryGroup
        visible: root.home.batteryShown
        spacing: IslandStyle.spacingTiny
        readonly property color tint: root.home.battery.tinted
            ? IslandPalette.accent(root.home.battery.color) : root.home.battery.color
        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            name: root.home.battery.symbol
            size: IslandStyle.fontCaption
            color: parent.tint
        }
        Text {
            textFormat: Text.PlainText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: root.home.batteryText
            font.family: IslandStyle.digitsFamily
            font.pixelSize: IslandStyle.fontFootnote
            font.weight: Font.Medium
            color: parent.tint
        }
    }
    RowLayout {
        spacing: IslandStyle.spacingSmall
        Layout.fillWidth: true
        Layout.maximumWidth: implicitWidth
        Layout.minimumWidth: Math.max(0, Math.min(implicitWidth, root.width - root.besidesRight))
        ChromeStrip {
            objectName: "chromeStrip"
            Layout.fillWidth: true
            Layout.minimumWidth: HomeText.chromeCellSize
            Layout.maximumWidth: implicitWidth
            model: root.model
            home: root.home
            menuBounds: root.menuBounds
        }
        IslandIconButton {
            visible: !root.editing
            systemName: "gearshape.fill"
            size: IslandStyle.fontHeadline
            color: IslandPalette.textPrimary
            help: qsTr("Settings")
            keys: true
            onClicked: root.model.openSettings("")
        }
        IslandIconButton {
            id: editButton
            objectName: "editButton"
            systemName: root.editing ? "checkmark.circle.fill" : "plus.circle.fill"
            size: IslandStyle.fontHeadline
            color: root.editing ? root.green : IslandPalette.textPrimary
            help: root.editing ? qsTr("Done") : qsTr("Add or remove modules")
            keys: true
            onClicked: root.home.toggleEditing()
            // A short bounce each time edit mode turns on or off.
            SequentialAnimation {
                id: bounce
                NumberAnimation { target: editButton; property: "scale"; to: 1.2; duration: 110; easing.type: Easing.OutQuad }
                SpringAnimation { target: editButton; property: "scale"; to: 1; spring: IslandStyle.pressSpring.spring; damping: IslandStyle.pressSpring.damping; epsilon: 0.002 }
            }
        }
    }
}
