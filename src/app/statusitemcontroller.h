#pragma once

#include <QIcon>
#include <QObject>

#include <memory>

class AppSettings;
class QMenu;
namespace platform { class IStatusTray; }

// The status-area icon with the program's menu: Settings…, Edit on Screen…, Check
// for Updates…, Launch at Login (checked when on) and Quit Pavlet. The
// actions are signals. The check mark follows the setting, whoever changes
// it, and is read again each time the menu opens.
class StatusItemController : public QObject {
    Q_OBJECT
public:
    // Without a tray the menu is built but shown nowhere.
    explicit StatusItemController(AppSettings *settings, platform::IStatusTray *tray = nullptr, QObject *parent = nullptr);
    ~StatusItemController() override;

    QMenu *menu() const { return m_menu.get(); }
    // The 18 x 18 pill, filled with color and rimmed in its opposite, so that
    // it shows on light and dark status areas alike.
    static QIcon paintIcon(const QColor &color);

    void openSettings() { emit openSettingsRequested(); }
    void editIsland() { emit editIslandRequested(); }
    // Flips launch at login, applies it, and rebuilds the menu.
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
    void editIslandRequested();
    void quitRequested();

private:
    std::unique_ptr<QMenu> buildMenu();
    void showIcon();
    void followLogin();

    AppSettings *m_settings;
    platform::IStatusTray *m_tray;
    std::unique_ptr<QMenu> m_menu;
};
