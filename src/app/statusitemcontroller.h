#pragma once

#include "platform/statustray.h"

#include <QIcon>
#include <QList>
#include <QObject>

class AppSettings;

// The status-area icon with the program's menu: Settings…, Edit on Screen…, Check
// for Updates…, Launch at Login (checked when on) and Quit Pavlet. The
// actions are signals. The check mark follows the setting, whoever changes
// it, and is read again each time the menu opens.
class StatusItemController : public QObject {
    Q_OBJECT
public:
    // The menu's lines, by index.
    enum Line { SettingsLine = 0, EditLine = 1, UpdatesLine = 2, LoginLine = 4, QuitLine = 6 };

    // Without a tray the menu is kept but shown nowhere.
    explicit StatusItemController(AppSettings *settings, platform::IStatusTray *tray = nullptr, QObject *parent = nullptr);
    ~StatusItemController() override;

    const QList<platform::StatusMenuItem> &menu() const { return m_menu; }
    // The pill, filled with color and rimmed in its opposite, so that it
    // shows on light and dark status areas alike; drawn at whatever size is
    // asked for.
    static QIcon paintIcon(const QColor &color);

    // Runs the menu's line at index, as a click on it does.
    void choose(int index);
    // The menu is about to show: the check mark is read again.
    void menuAboutToShow();

    void openSettings() { emit openSettingsRequested(); }
    void editIsland() { emit editIslandRequested(); }
    // Flips launch at login, applies it, and updates the menu.
    void toggleLogin();
    void quit() { emit quitRequested(); }

protected:
    // A new palette (the desktop switched between light and dark) repaints
    // the icon.
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // The menu is about to show: the settings window may be wanted soon.
    void menuOpening();
    void openSettingsRequested();
    // "Check for Updates…": the settings, on the page with the update card.
    void checkForUpdatesRequested();
    void editIslandRequested();
    void quitRequested();

private:
    QList<platform::StatusMenuItem> buildMenu() const;
    void showIcon();
    void followLogin();

    AppSettings *m_settings;
    platform::IStatusTray *m_tray;
    QList<platform::StatusMenuItem> m_menu;
};
