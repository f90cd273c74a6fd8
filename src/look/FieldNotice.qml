import QtQuick
import QtQuick.Controls

// A word beside a text field on why a paste put nothing in it; it goes by
// itself after its timeout.
ToolTip {
    required property Item field
    parent: field
}
