#include "app/statusitemcontroller.h"

#include "store/appsettings.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

StatusItemController::StatusItemController(AppSettings *settings, platform::IStatusTray *tray, QObject *parent)
    : QObject(parent), m_settings(settings), m_tray(tray)
{
    m_menu = buildMenu();
    connect(m_settings, &AppSettings::launchAtLoginChanged, this, &StatusItemController::followLogin);
    if (m_tray) {
        connect(m_tray, &platform::IStatusTray::menuOpening, this, &StatusItemController::menuAboutToShow);
        connect(m_tray, &platform::IStatusTray::itemChosen, this, &StatusItemController::choose);
    }
    showIcon();
    if (m_tray)
        qApp->installEventFilter(this);
}

void StatusItemController::showIcon()
{
    if (m_tray)
        m_tray->show(paintIcon(QGuiApplication::palette().color(QPalette::WindowText)), QStringLiteral("Pavlet"), m_menu);
}

bool StatusItemController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        showIcon();
    return QObject::eventFilter(watched, event);
}

void StatusItemController::followLogin()
{
    const QList<platform::StatusMenuItem> fresh = buildMenu();
    if (fresh == m_menu)
        return;
    m_menu = fresh;
    if (m_tray)
        m_tray->setMenu(m_menu);
}

void StatusItemController::menuAboutToShow()
{
    followLogin();
    emit menuOpening();
}

StatusItemController::~StatusItemController()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

QIcon StatusItemController::paintIcon(const QColor &color)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(18 * scale, 18 * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        // A small pill above the middle, like the island under the top edge;
        // the rim in the opposite tone keeps it from melting into a status
        // area of its own colour.
        const QColor rim = color.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black);
        p.setPen(QPen(rim, 1.2));
        p.setBrush(color);
        p.drawRoundedRect(QRectF(2.6, 3.6, 12.8, 7.8), 3.9, 3.9);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QList<platform::StatusMenuItem> StatusItemController::buildMenu() const
{
    using Item = platform::StatusMenuItem;
    Item separator;
    separator.separator = true;
    Item login{tr("Launch at Login")};
    login.checkable = true;
    login.checked = m_settings->launchAtLogin();
    return {
        Item{tr("Settings…"), QKeySequence(Qt::CTRL | Qt::Key_Comma)},
        Item{tr("Edit on Screen…")},
        Item{tr("Check for Updates…")},
        separator,
        login,
        separator,
        Item{tr("Quit Pavlet"), QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
}

void StatusItemController::choose(int index)
{
    switch (index) {
    case SettingsLine:
        openSettings();
        break;
    case UpdatesLine:
        emit checkForUpdatesRequested();
        break;
    case EditLine:
        editIsland();
        break;
    case LoginLine:
        toggleLogin();
        break;
    case QuitLine:
        quit();
        break;
    default:
        break;
    }
}

void StatusItemController::toggleLogin()
{
    m_settings->setLaunchAtLogin(!m_settings->launchAtLogin());
    m_settings->applyLaunchAtLogin();
    followLogin();
}
