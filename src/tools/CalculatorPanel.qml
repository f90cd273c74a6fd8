import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The island's calculator: a header with the way back, the unit switch and
// delete; the running expression over the result; the twenty-key pad. Every
// key goes to the engine; hardware keys reach it through the window.
Item {
    id: root
    required property CalculatorEngine engine
    // The pointer came onto the panel; the back button was clicked.
    signal pointerEntered()
    signal homeRequested()
    // True while the unit card stands in for the readout and the pad.
    property bool extras: false

    readonly property color amber: IslandPalette.accent(IslandPalette.amber)
    readonly property color coral: IslandPalette.accent(IslandPalette.coral)

    HoverHandler {
        onHoveredChanged: if (hovered) root.pointerEntered()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: IslandStyle.spacingMedium

        RowLayout {
            Layout.fillWidth: true
            spacing: IslandStyle.spacing
            IslandIconButton {
                systemName: "chevron.left"
                size: IslandStyle.fontBody
                color: root.amber
                help: qsTr("Home")
                onClicked: root.homeRequested()
            }
            ColumnLayout {
                spacing: 1
                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: qsTr("Calculator")
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCallout
                    font.weight: Font.DemiBold
                    color: IslandPalette.textPrimary
                }
                Text {
                    objectName: "subtitle"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: ToolViews.calcSubtitle(root.extras, root.engine.showAsFraction)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontCaption
                    color: root.amber
                }
            }
            Item { Layout.fillWidth: true }
            IslandPressStyle {
                pressed: unitsArea.pressed
                label: root.extras ? qsTr("Pad") : qsTr("Units")
                onActivated: root.extras = !root.extras
                Text {
                    objectName: "unitsToggle"
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    text: root.extras ? qsTr("Pad") : qsTr("Units")
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    color: root.amber
                }
                MouseArea {
                    id: unitsArea
                    anchors.fill: parent
                    onClicked: root.extras = !root.extras
                }
            }
            IslandIconButton {
                systemName: "delete.backward"
                size: IslandStyle.fontCallout
                color: IslandPalette.textSecondary
                help: qsTr("Delete")
                onClicked: {
                    root.engine.backspace()
                    root.engine.refresh()
                }
            }
        }

        Loader {
            Layout.fillWidth: true
            active: root.extras
            visible: active
            sourceComponent: CalcConvertCard {}
        }

        Rectangle {
            visible: !root.extras
            Layout.fillWidth: true
            implicitHeight: readoutColumn.implicitHeight + 2 * IslandStyle.spacingMedium
            radius: IslandStyle.radiusCard
            color: IslandPalette.fill
            ColumnLayout {
                id: readoutColumn
                anchors.fill: parent
                anchors.margins: IslandStyle.spacingMedium
                spacing: IslandStyle.spacingTiny
                Text {
                    id: expressionLine
                    objectName: "expression"
                    textFormat: Text.PlainText
                    // A new expression fades in with the quick spring.
                    onTextChanged: expressionFade.restart()
                    SequentialAnimation {
                        id: expressionFade
                        PropertyAction { target: expressionLine; property: "opacity"; value: 0.4 }
                        SpringAnimation { target: expressionLine; property: "opacity"; to: 1; spring: IslandStyle.quickSpring.spring; damping: IslandStyle.quickSpring.damping; epsilon: 0.01 }
                    }
                    Layout.fillWidth: true
                    horizontalAlignment: Text.AlignRight
                    elide: Text.ElideLeft
                    maximumLineCount: 1
                    text: ToolViews.calcExpressionLine(root.engine.expression)
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    color: IslandPalette.textTertiary
                }
                CalcReadoutView {
                    objectName: "readout"
                    Layout.fillWidth: true
                    Layout.minimumHeight: ToolViews.calcReadoutHeight
                    readout: root.engine.readout
                    color: ToolViews.calcReadoutColor(root.engine.error) === "coral" ? root.coral
                                                                                   : IslandPalette.textPrimary
                }
            }
        }

        ColumnLayout {
            visible: !root.extras
            Layout.fillWidth: true
            spacing: IslandStyle.spacing
            Repeater {
                model: ToolViews.calcRows()
                RowLayout {
                    id: padRow
                    required property calcKeyRow modelData
                    Layout.fillWidth: true
                    spacing: IslandStyle.spacing
                    Repeater {
                        model: padRow.modelData.keys
                        CalcPadButton {
                            required property calcKey modelData
                            Layout.fillWidth: true
                            Layout.preferredWidth: 1
                            key: modelData
                            onClicked: root.engine.press(modelData)
                        }
                    }
                }
            }
        }

        Item { Layout.fillHeight: true }
    }
}
