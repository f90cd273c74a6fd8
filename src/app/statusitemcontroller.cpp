#include "app/statusitemcontroller.h"

#include "notch/notchgeometry.h"
#include "store/appsettings.h"

#include <QEvent>
#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

#include <algorithm>
#include <cmath>

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

namespace {

// The pill drawn afresh at each size the status area asks for, so that its
// edges fall on whole pixels in a 16 px slot and in a 48 px one alike,
// rather than one small picture stretched to the slot.
class PillIconEngine : public QIconEngine {
public:
    explicit PillIconEngine(const QColor &color) : m_color(color) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(rect.width(), rect.height());
        if (side <= 0)
            return;
        // On a grid of 18: the pill 14 wide and 9 tall with its rim, above
        // the middle, like the island under the top edge. The rim, in the
        // tone opposite the fill, keeps it from melting into a status area
        // of its own colour.
        const int rim = std::max(1, int(std::lround(side * 1.2 / 18)));
        const int left = int(std::lround(side / 9.0));
        const int top = int(std::lround(side / 6.0));
        const int height = std::max(2 * rim + 1, int(std::lround(side / 2.0)));
        const QRectF outer(rect.x() + (rect.width() - side) / 2 + left, rect.y() + (rect.height() - side) / 2 + top,
                           side - 2 * left, height);
        // The rim's stroke straddles the outline: half a rim in from the
        // outer edge, so that it covers whole pixels.
        const QRectF outline = outer.adjusted(rim / 2.0, rim / 2.0, -rim / 2.0, -rim / 2.0);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(m_color.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black), rim));
        painter->setBrush(m_color);
        painter->drawPath(islandOutlinePath(outline, outline.height() / 2, true));
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return picture;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine *clone() const override { return new PillIconEngine(m_color); }
    QString key() const override { return QStringLiteral("PavletPill"); }

private:
    QColor m_color;
};

} // namespace

QIcon StatusItemController::paintIcon(const QColor &color)
{
    return QIcon(new PillIconEngine(color));
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
