#include "app/statusitemcontroller.h"

#include "platform/statustray.h"
#include "store/appsettings.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPalette>

StatusItemController::StatusItemController(AppSettings *settings, platform::IStatusTray *tray, QObject *parent)
    : QObject(parent), m_settings(settings), m_tray(tray)
{
    m_menu = buildMenu();
    connect(m_settings, &AppSettings::launchAtLoginChanged, this, &StatusItemController::followLogin);
    showIcon();
    if (m_tray)
        qApp->installEventFilter(this);
}

void StatusItemController::showIcon()
{
    if (m_tray)
        m_tray->show(paintIcon(QGuiApplication::palette().color(QPalette::WindowText)), QStringLiteral("Pavlet"),
                     m_menu.get());
}

bool StatusItemController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        showIcon();
    return QObject::eventFilter(watched, event);
}

void StatusItemController::followLogin()
{
    for (QAction *a : m_menu->actions()) {
        if (a->isCheckable())
            a->setChecked(m_settings->launchAtLogin());
    }
}

StatusItemController::~StatusItemController()
{
    if (qApp)
        qApp->removeEventFilter(this);
    if (m_tray)
        m_tray->setMenu(nullptr);
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

std::unique_ptr<QMenu> StatusItemController::buildMenu()
{
    auto menu = std::make_unique<QMenu>();
    connect(menu.get(), &QMenu::aboutToShow, this, &StatusItemController::followLogin);
    connect(menu.get(), &QMenu::aboutToShow, this, &StatusItemController::menuOpening);
    QAction *settings = menu->addAction(tr("Settings…"), this, &StatusItemController::openSettings);
    settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    menu->addAction(tr("Edit on Screen…"), this, &StatusItemController::editIsland);
    menu->addAction(tr("Check for Updates…"), this, &StatusItemController::openSettings);
    menu->addSeparator();
    QAction *login = menu->addAction(tr("Launch at Login"), this, &StatusItemController::toggleLogin);
    login->setCheckable(true);
    login->setChecked(m_settings->launchAtLogin());
    menu->addSeparator();
    QAction *quit = menu->addAction(tr("Quit Pavlet"), this, &StatusItemController::quit);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    return menu;
}

void StatusItemController::toggleLogin()
{
    m_settings->setLaunchAtLogin(!m_settings->launchAtLogin());
    m_settings->applyLaunchAtLogin();
    std::unique_ptr<QMenu> fresh = buildMenu();
    if (m_tray)
        m_tray->setMenu(fresh.get());
    // The old menu may be the one whose action is running: let it go later.
    m_menu.release()->deleteLater();
    m_menu = std::move(fresh);
}
