import QtQuick
import QtQuick.Shapes
import Pavlet
import Pavlet.Style

// A turning open ring: the install spinner and the small waiting indicator.
Shape {
    id: root
    property color color: IslandPalette.accent(IslandPalette.yellow)
    property bool running: visible
    implicitWidth: SettingsMetrics.moduleSymbolWidth
    implicitHeight: SettingsMetrics.moduleSymbolWidth
    // The software renderer draws a Shape scrolled wholly out of its list
    // with no clip at all; as a layer it clips like a picture, and the layer
    // turns without being drawn again.
    layer.enabled: GraphicsInfo.api === GraphicsInfo.Software
    layer.smooth: true

    ShapePath {
        strokeColor: root.color
        strokeWidth: SettingsMetrics.spinnerLineWidth
        fillColor: IslandPalette.clear
        capStyle: ShapePath.RoundCap
        PathAngleArc {
            centerX: root.width / 2
            centerY: root.height / 2
            radiusX: root.width / 2 - SettingsMetrics.spinnerLineWidth
            radiusY: radiusX
            startAngle: 360 * SettingsMetrics.spinnerTrimFrom - 90
            sweepAngle: 360 * (SettingsMetrics.spinnerTrimTo - SettingsMetrics.spinnerTrimFrom)
        }
    }
    RotationAnimation on rotation {
        running: root.running
        from: 0
        to: 360
        duration: SettingsMetrics.spinnerTurnMs
        loops: Animation.Infinite
    }
}
