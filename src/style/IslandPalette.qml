pragma Singleton
import QtQuick
import Pavlet.Style

// The palette with the custom-accent resolver. accent() reads the engine's
// Accent here, in QML, so that a binding that calls it follows the setting.
PaletteColors {
    // base, or the custom accent over it as far as it is shown now.
    function accent(base: color): color {
        const weight = Accent.weight
        return weight > 0 ? over(base, Accent.color, weight) : base
    }
}
