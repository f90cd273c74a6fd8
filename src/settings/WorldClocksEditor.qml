import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The Home panel's world-clock cities: name, zone, remove; and "Add city".
ColumnLayout {
    id: root
    required property WorldClocksEditorModel editor
    spacing: IslandStyle.spacingMedium

    Text {
        textFormat: Text.PlainText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        text: "Cities"
        color: IslandPalette.textPrimary
        font.family: IslandStyle.roundedFamily
        font.pixelSize: IslandStyle.fontBody
        font.weight: Font.DemiBold
    }
    Text {
        textFormat: Text.PlainText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        Layout.fillWidth: true
        text: "These show on the home panel. Use IANA time zones like America/Los_Angeles."
        color: IslandPalette.textSecondary
        font.pixelSize: IslandStyle.fontFootnote
        wrapMode: Text.WordWrap
    }
    Repeater {
        model: root.editor.cities
        delegate: RowLayout {
            id: city
            required property string cityId
            required property string label
            required property string timeZone
            required property int zoneIndex
            required property bool removable
            objectName: "city-" + cityId
            Layout.fillWidth: true
            spacing: IslandStyle.spacing

            SettingsTextField {
                Layout.preferredWidth: SettingsMetrics.cityFieldMaxWidth
                placeholderText: "City"
                text: city.label
                onTextEdited: root.editor.setLabel(city.cityId, text)
            }
            SettingsComboBox {
                Layout.fillWidth: true
                model: SettingsTimeZones.worldClockOptions(city.timeZone)
                currentIndex: city.zoneIndex
                onActivated: index => root.editor.setTimeZone(city.cityId, SettingsTimeZones.worldClockValue(city.timeZone, index))
            }
            Item {
                id: removeControl
                objectName: "remove-" + city.cityId
                implicitWidth: minus.width
                implicitHeight: minus.height
                readonly property real radius: width / 2
                opacity: city.removable ? 1 : IslandStyle.disabledOpacity
                activeFocusOnTab: city.removable
                Keys.onSpacePressed: root.editor.removeCity(city.cityId)
                Keys.onReturnPressed: root.editor.removeCity(city.cityId)
                enabled: city.removable
                Accessible.role: Accessible.Button
                Accessible.name: qsTr("Remove %1").arg(city.label)
                Accessible.onPressAction: if (city.removable) root.editor.removeCity(city.cityId)
                FocusRing {
                    shown: removeControl.activeFocus
                }
                SettingsSymbol {
                    id: minus
                    name: "minus.circle.fill"
                    size: IslandStyle.fontHeadline
                    color: IslandPalette.accent(IslandPalette.coral)
                }
                MouseArea {
                    anchors.fill: parent
                    enabled: city.removable
                    onClicked: root.editor.removeCity(city.cityId)
                }
            }
        }
    }
    SettingsButton {
        objectName: "addCity"
        text: "Add city"
        symbol: "plus"
        fontSize: IslandStyle.fontFootnote
        font.weight: Font.Normal
        enabled: root.editor.canAdd
        onClicked: root.editor.addCity()
    }
}
