import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The settings cards' look: a padded column on a faint white rounded fill.
Rectangle {
    id: root
    default property alias content: column.data
    property int padding: SettingsMetrics.cardPadding
    property alias spacing: column.spacing
    Layout.fillWidth: true
    implicitHeight: column.implicitHeight + 2 * padding
    radius: IslandStyle.radiusCard
    color: IslandPalette.fill

    ColumnLayout {
        id: column
        x: root.padding
        y: root.padding
        width: root.width - 2 * root.padding
        spacing: IslandStyle.spacingLarge
    }
}
