import QtQuick
import QtQuick.Layouts
import Pavlet
import Pavlet.Style

// The settings window's content: the sidebar of pages, the selected page,
// and the first-run permission sheet over both until it is done.
Rectangle {
    id: root
    required property AppSettings settings
    required property UpdateCardModel updateCard
    required property SettingsNavigation navigation
    required property ModulesPresenter modules
    required property PermissionsPresenter permissions
    required property WorldClocksEditorModel worldClocks
    required property ClockSample clockSample

    implicitWidth: SettingsMetrics.rootMinWidth
    implicitHeight: SettingsMetrics.rootMinHeight
    color: IslandPalette.windowBackground

    // After a damaged settings file was set aside: a line over the window,
    // above the first-run sheet too, until the user has seen it.
    Rectangle {
        id: resetBanner
        objectName: "resetNotice"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        visible: root.settings.resetNotice.length > 0
        height: visible ? bannerRow.implicitHeight + 2 * IslandStyle.spacingMedium : 0
        color: IslandPalette.fill
        RowLayout {
            id: bannerRow
            anchors.fill: parent
            anchors.margins: IslandStyle.spacingMedium
            anchors.leftMargin: IslandStyle.spacingXLarge
            spacing: IslandStyle.spacingLarge
            SettingsSymbol {
                name: "archivebox.fill"
                size: IslandStyle.fontCallout
                color: IslandPalette.accent(IslandPalette.amber)
            }
            Text {
                objectName: "resetNoticeText"
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                Layout.fillWidth: true
                text: root.settings.resetNotice
                color: IslandPalette.textPrimary
                font.pixelSize: IslandStyle.fontBody
                wrapMode: Text.WrapAnywhere
            }
            SettingsButton {
                objectName: "resetNoticeOk"
                text: "OK"
                fontSize: IslandStyle.fontFootnote
                onClicked: root.settings.dismissResetNotice()
            }
        }
    }

    RowLayout {
        id: mainLayer
        anchors.fill: parent
        anchors.topMargin: resetBanner.height
        spacing: 0
        // Under the first-run sheet nothing takes focus, keys or clicks.
        enabled: root.permissions.setupCompleted

        // Sidebar: one stop of the Tab order, whose arrow keys move between
        // the pages.
        Item {
            id: sidebar
            objectName: "sidebar"
            Layout.preferredWidth: SettingsMetrics.sidebarWidth
            Layout.fillHeight: true
            activeFocusOnTab: true
            Keys.onUpPressed: root.navigation.select(root.navigation.page - 1)
            Keys.onDownPressed: root.navigation.select(root.navigation.page + 1)

            Rectangle {
                anchors.fill: parent
                color: IslandPalette.black
                opacity: SettingsMetrics.sidebarShade
            }
            ColumnLayout {
                anchors.fill: parent
                spacing: IslandStyle.spacingTiny

                Text {
                    textFormat: Text.PlainText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    Layout.leftMargin: IslandStyle.spacingLarge
                    Layout.rightMargin: IslandStyle.spacingLarge
                    Layout.topMargin: SettingsMetrics.sidebarHeaderTop
                    Layout.bottomMargin: IslandStyle.spacing
                    text: "PAVLET"
                    color: IslandPalette.textSecondary
                    font.family: IslandStyle.roundedFamily
                    font.pixelSize: IslandStyle.fontFootnote
                    font.weight: Font.DemiBold
                }
                Repeater {
                    model: root.navigation.pages
                    delegate: Rectangle {
                        id: row
                        required property settingsPageInfo modelData
                        readonly property bool selected: root.navigation.page === modelData.page
                        objectName: "sidebar-" + modelData.rawValue
                        Layout.fillWidth: true
                        implicitHeight: rowContent.implicitHeight + 2 * IslandStyle.spacing
                        radius: IslandStyle.radiusMedium
                        color: selected ? IslandPalette.fillStrong : IslandPalette.clear
                        // A screen reader's page tab: pressing it shows its page.
                        Accessible.role: Accessible.PageTab
                        Accessible.name: modelData.title
                        Accessible.selectable: true
                        Accessible.selected: selected
                        Accessible.onPressAction: root.navigation.select(row.modelData.page)

                        RowLayout {
                            id: rowContent
                            anchors.fill: parent
                            anchors.leftMargin: IslandStyle.spacingLarge
                            anchors.rightMargin: IslandStyle.spacingLarge
                            spacing: IslandStyle.spacingMedium
                            Item {
                                Layout.preferredWidth: SettingsMetrics.sidebarSymbolWidth
                                implicitHeight: icon.height
                                SettingsSymbol {
                                    id: icon
                                    anchors.centerIn: parent
                                    name: row.modelData.symbol
                                    size: IslandStyle.fontCallout
                                    color: IslandPalette.accent(row.modelData.tint)
                                }
                            }
                            Text {
                                textFormat: Text.PlainText
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                                Layout.fillWidth: true
                                text: row.modelData.title
                                color: row.selected ? IslandPalette.textPrimary : IslandPalette.textSecondary
                                font.pixelSize: IslandStyle.fontCallout
                                font.weight: Font.Medium
                            }
                        }
                        MouseArea {
                            anchors.fill: parent
                            onClicked: root.navigation.select(row.modelData.page)
                        }
                        FocusRing {
                            anchors.margins: 0
                            radius: row.radius
                            shown: row.selected && sidebar.activeFocus
                        }
                    }
                }
                Item { Layout.fillHeight: true }
            }
        }
        Rectangle {
            Layout.preferredWidth: IslandStyle.strokeHair
            Layout.fillHeight: true
            color: IslandPalette.fillStrong
        }
        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.margins: SettingsMetrics.detailPadding
            spacing: IslandStyle.spacingLarge

            // While the settings file cannot be written, a line of its own says so.
            Text {
                objectName: "storageProblem"
                textFormat: Text.PlainText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                Layout.fillWidth: true
                visible: root.settings.storageProblem.length > 0
                text: root.settings.storageProblem
                color: IslandPalette.accent(IslandPalette.coral)
                font.pixelSize: IslandStyle.fontBody
                wrapMode: Text.WordWrap
            }
            // Detail: every page is built up front and the selected one shows.
            StackLayout {
                id: pages
                Layout.fillWidth: true
                Layout.fillHeight: true
                currentIndex: root.navigation.page

                GeneralSettingsPage {
                    settings: root.settings
                    updateCard: root.updateCard
                    navigation: root.navigation
                }
                PermissionsSettingsPage {
                    permissions: root.permissions
                }
                ModulesSettingsPage {
                    id: modulesPage
                    settings: root.settings
                    modules: root.modules
                    worldClocks: root.worldClocks
                }
                LibrarySettingsPage {
                    id: libraryPage
                    settings: root.settings
                    modules: root.modules
                    worldClocks: root.worldClocks
                }
                NotchSettingsPage {
                    settings: root.settings
                    navigation: root.navigation
                    clockSample: root.clockSample
                }
            }
        }
    }

    // The module cards follow the settings only while a page of them shows.
    Binding {
        target: root.modules
        property: "shown"
        value: (modulesPage.visible || libraryPage.visible) && root.Window.window !== null
               && root.Window.window.visible
    }

    Loader {
        anchors.fill: parent
        anchors.topMargin: resetBanner.height
        active: !root.permissions.setupCompleted
        focus: active
        sourceComponent: PermissionsSetupView {
            permissions: root.permissions
        }
    }
}
