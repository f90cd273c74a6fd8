import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The Canvas card's form: help, the token page, the school address and the
// token, saved together.
ColumnLayout {
    id: root
    required property AppSettings settings
    required property ModulesPresenter modules
    spacing: IslandStyle.spacing

    Text {
        textFormat: Text.PlainText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        Layout.fillWidth: true
        text: "Canvas uses a personal API token from your school site. That is the official user integration for a desktop app."
        color: IslandPalette.textSecondary
        font.pixelSize: IslandStyle.fontFootnote
        wrapMode: Text.WordWrap
    }
    Text {
        textFormat: Text.PlainText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        Layout.fillWidth: true
        text: "Account \u2192 Settings \u2192 Approved Integrations \u2192 New Access Token. Copy it once, then paste it here."
        color: IslandPalette.textSecondary
        font.pixelSize: IslandStyle.fontFootnote
        wrapMode: Text.WordWrap
    }
    SettingsButton {
        text: "Open Canvas token page"
        fontSize: IslandStyle.fontFootnote
        font.weight: Font.Normal
        onClicked: root.modules.openCanvasTokenPage()
    }
    SettingsTextField {
        objectName: "canvasAddress"
        Layout.fillWidth: true
        placeholderText: "https://school.instructure.com"
        text: root.settings.canvasBaseURL
        onTextEdited: root.settings.canvasBaseURL = text
    }
    SettingsTextField {
        objectName: "canvasToken"
        Layout.fillWidth: true
        echoMode: TextInput.Password
        placeholderText: root.modules.tokenPlaceholder
        text: root.settings.canvasTokenDraft
        onTextEdited: root.settings.canvasTokenDraft = text
        // Return saves, as the button does.
        onAccepted: if (saveToken.enabled) saveToken.clicked()
    }
    SettingsButton {
        id: saveToken
        objectName: "saveToken"
        text: "Save token"
        font.weight: Font.Normal
        enabled: root.settings.canvasSaveState !== AppSettings.Saving
        onClicked: root.modules.saveCanvasToken()
    }
    // After a save, the lines under the button say how it went (a token
    // kept only until quitting among them): the page scrolls them into
    // sight once the layouts around them have taken their new size.
    function showOutcome() {
        const last = tokenNote.visible ? tokenNote : status
        for (let p = root; p; p = p.parent) {
            if (typeof p.forceLayout === "function")
                p.forceLayout()
            if (typeof p.bringIntoView === "function") {
                p.bringIntoView(last)
                return
            }
        }
    }
    Connections {
        target: root.settings
        function onCanvasSaveStateChanged() {
            if (root.settings.canvasSaveState !== AppSettings.Saving)
                root.showOutcome()
        }
        function onCanvasTokenNoteChanged() {
            if (root.settings.canvasTokenNote !== "")
                root.showOutcome()
        }
    }
    Text {
        id: status
        objectName: "canvasStatus"
        textFormat: Text.PlainText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        Layout.fillWidth: true
        text: root.settings.canvasStatus
        // Teal only for what went well with a token stored; a failure (a
        // refused save, Canvas not loaded) is a warning.
        color: root.settings.canvasStatusFailed
               ? IslandPalette.accent(IslandPalette.coral)
               : root.settings.canvasSaveState === AppSettings.Idle && root.modules.hasStoredToken
                 ? IslandPalette.accent(IslandPalette.mint)
                 : IslandPalette.textSecondary
        font.pixelSize: IslandStyle.fontFootnote
        wrapMode: Text.WordWrap
    }
    Text {
        id: tokenNote
        objectName: "canvasTokenNote"
        Layout.fillWidth: true
        visible: text !== ""
        text: root.settings.canvasTokenNote
        textFormat: Text.PlainText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        color: IslandPalette.accent(IslandPalette.coral)
        font.pixelSize: IslandStyle.fontFootnote
        wrapMode: Text.WordWrap
    }
}
