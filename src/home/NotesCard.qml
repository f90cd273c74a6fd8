import QtQuick
import QtQuick.Controls
import Pavlet
import Pavlet.Style

// A scratch pad written to the settings on every keystroke.
ModuleCard {
    id: root
    required property AppSettings settings
    title: qsTr("Scratch pad")
    accent: IslandPalette.accent(IslandPalette.amber)

    function passFocus(event, forward) {
        event.accepted = true
        const next = field.nextItemInFocusChain(forward)
        if (next && next !== field)
            next.forceActiveFocus(forward ? Qt.TabFocusReason : Qt.BacktabFocusReason)
    }

    ScrollView {
        id: scroll
        width: parent.width
        // One line as the field lays it out, so that three lines show
        // whole: scrolled, no piece of the line above shows at the top.
        readonly property real line: field.lineCount > 0 ? field.contentHeight / field.lineCount
                                                           : field.font.pixelSize * 1.3
        height: Math.min(Math.max(field.implicitHeight, 2 * line), 3 * line)
        // Scrolled lines stay inside the field, out of the card's padding.
        clip: true
        ScrollBar.vertical.policy: ScrollBar.AlwaysOff
        TextArea {
            id: field
            padding: 0
            background: null
            wrapMode: TextEdit.Wrap
            placeholderText: qsTr("Type a thought")
            Accessible.name: qsTr("Notes")
            placeholderTextColor: IslandPalette.textTertiary
            font.family: IslandStyle.roundedFamily
            font.pixelSize: IslandStyle.fontBody
            font.weight: Font.Medium
            color: IslandPalette.textPrimary
            text: root.settings.scratchNote
            onTextChanged: if (text !== root.settings.scratchNote) root.settings.scratchNote = text
            // Tab moves on, as in the desktop's other growing fields; the
            // note never takes a tab character.
            Keys.onTabPressed: (event) => root.passFocus(event, true)
            Keys.onBacktabPressed: (event) => root.passFocus(event, false)
        }
    }
    // A note with nothing hidden, or scrolled to its end, leaves the wheel
    // to Home's list.
    WheelPassOn {
        view: scroll
    }
    ParagraphDirections {
        editor: field
    }
}
