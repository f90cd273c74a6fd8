#include "platform/linux/statusnotifiertray.h"

#include "platform/linux/dbusmenutypes.h"

#include <QDBusContext>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QGuiApplication>
#include <QPixmap>
#include <QPointer>
#include <QtEndian>

#include <atomic>
#include <unistd.h>

namespace platform {

using namespace dbustray;

namespace {

// The icon's pictures as the status area takes them: ARGB32, each pixel in
// network byte order.
Pixmaps toPixmaps(const QList<QImage> &pictures)
{
    Pixmaps out;
    for (const QImage &picture : pictures) {
        const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
        Pixmap p;
        p.width = argb.width();
        p.height = argb.height();
        p.bytes.resize(qsizetype(argb.width()) * argb.height() * 4);
        auto *to = reinterpret_cast<quint32 *>(p.bytes.data());
        for (int y = 0; y < argb.height(); ++y) {
            const auto *line = reinterpret_cast<const quint32 *>(argb.constScanLine(y));
            for (int x = 0; x < argb.width(); ++x)
                *to++ = qToBigEndian(line[x]);
        }
        out << p;
    }
    return out;
}

// Ctrl+Q as [["Control", "Q"]].
Shortcut toShortcut(const QKeySequence &keys)
{
    Shortcut out;
    for (int i = 0; i < keys.count(); ++i) {
        const QKeyCombination combination = keys[i];
        QStringList press;
        const Qt::KeyboardModifiers mods = combination.keyboardModifiers();
        if (mods & Qt::ControlModifier)
            press << QStringLiteral("Control");
        if (mods & Qt::AltModifier)
            press << QStringLiteral("Alt");
        if (mods & Qt::ShiftModifier)
            press << QStringLiteral("Shift");
        if (mods & Qt::MetaModifier)
            press << QStringLiteral("Super");
        press << QKeySequence(combination.key()).toString(QKeySequence::PortableText);
        out << press;
    }
    return out;
}

QVariantMap itemProperties(const StatusMenuItem &item, const QStringList &wanted)
{
    QVariantMap all;
    if (item.separator) {
        all.insert(QStringLiteral("type"), QStringLiteral("separator"));
    } else {
        // An underscore marks the access key: a plain one is doubled.
        QString label = item.text;
        label.replace(u'_', QStringLiteral("__"));
        all.insert(QStringLiteral("label"), label);
        if (item.checkable) {
            all.insert(QStringLiteral("toggle-type"), QStringLiteral("checkmark"));
            all.insert(QStringLiteral("toggle-state"), item.checked ? 1 : 0);
        }
        if (!item.shortcut.isEmpty())
            all.insert(QStringLiteral("shortcut"), QVariant::fromValue(toShortcut(item.shortcut)));
    }
    if (wanted.isEmpty())
        return all;
    QVariantMap some;
    for (const QString &name : wanted) {
        if (all.contains(name))
            some.insert(name, all.value(name));
    }
    return some;
}

QVariantMap rootProperties(const QStringList &wanted)
{
    QVariantMap all{{QStringLiteral("children-display"), QStringLiteral("submenu")}};
    if (!wanted.isEmpty() && !wanted.contains(QStringLiteral("children-display")))
        return {};
    return all;
}

} // namespace

// The icon itself, at /StatusNotifierItem.
class StatusNotifierItemObject : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconThemePath READ empty)
    Q_PROPERTY(QString IconName READ empty)
    Q_PROPERTY(platform::dbustray::Pixmaps IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ empty)
    Q_PROPERTY(platform::dbustray::Pixmaps OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ empty)
    Q_PROPERTY(platform::dbustray::Pixmaps AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ empty)
    Q_PROPERTY(platform::dbustray::ToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
public:
    explicit StatusNotifierItemObject(StatusNotifierTray *tray) : m_tray(tray) {}

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return QStringLiteral("pavlet"); }
    QString title() const { return QStringLiteral("Pavlet"); }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString empty() const { return {}; }
    Pixmaps iconPixmap() const { return toPixmaps(m_tray->m_pictures); }
    Pixmaps noPixmaps() const { return {}; }
    ToolTip toolTip() const { return ToolTip{QString(), {}, m_tray->m_toolTip, QString()}; }
    // The icon's one action is its menu, for plain clicks too.
    bool itemIsMenu() const { return true; }
    QDBusObjectPath menu() const { return QDBusObjectPath(QString::fromLatin1(StatusNotifierTray::MenuPath)); }

public slots:
    // The desktop opens the menu itself (ItemIsMenu); these have nothing
    // more to do.
    void Activate(int, int) {}
    void SecondaryActivate(int, int) {}
    void ContextMenu(int, int) {}
    void Scroll(int, const QString &) {}

signals:
    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewToolTip();
    void NewStatus(const QString &status);

private:
    StatusNotifierTray *m_tray;
};

// The icon's menu, at /MenuBar: item 0 is the menu itself, item n its line
// at index n - 1.
class StatusMenuObject : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)
public:
    explicit StatusMenuObject(StatusNotifierTray *tray) : m_tray(tray) {}

    uint version() const { return 3; }
    QString textDirection() const
    {
        return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl") : QStringLiteral("ltr");
    }
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

    void changed() { emit LayoutUpdated(m_tray->m_revision, 0); }

public slots:
    uint GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames,
                   platform::dbustray::MenuLayout &layout)
    {
        if (!known(parentId))
            return 0;
        layout = MenuLayout{};
        layout.id = parentId;
        if (parentId > 0) {
            layout.properties = itemProperties(m_tray->m_menu.at(parentId - 1), propertyNames);
            return m_tray->m_revision;
        }
        layout.properties = rootProperties(propertyNames);
        if (recursionDepth != 0) {
            for (int i = 0; i < m_tray->m_menu.size(); ++i) {
                const MenuLayout child{i + 1, itemProperties(m_tray->m_menu.at(i), propertyNames), {}};
                layout.children << QDBusVariant(QVariant::fromValue(child));
            }
        }
        return m_tray->m_revision;
    }

    platform::dbustray::MenuItems GetGroupProperties(const QList<int> &ids, const QStringList &propertyNames)
    {
        MenuItems out;
        for (int id : ids) {
            if (id == 0)
                out << MenuItem{0, rootProperties(propertyNames)};
            else if (id > 0 && id <= m_tray->m_menu.size())
                out << MenuItem{id, itemProperties(m_tray->m_menu.at(id - 1), propertyNames)};
        }
        return out;
    }

    QDBusVariant GetProperty(int id, const QString &name)
    {
        if (!known(id))
            return {};
        const QVariantMap props = id == 0 ? rootProperties({}) : itemProperties(m_tray->m_menu.at(id - 1), {});
        return QDBusVariant(props.value(name, QString()));
    }

    void Event(int id, const QString &eventId, const QDBusVariant &, uint) { handle(id, eventId); }

    QList<int> EventGroup(const platform::dbustray::MenuEvents &events)
    {
        QList<int> errors;
        for (const MenuEvent &e : events) {
            if (id0OrItem(e.id))
                handle(e.id, e.eventId);
            else
                errors << e.id;
        }
        return errors;
    }

    bool AboutToShow(int id)
    {
        const uint before = m_tray->m_revision;
        if (id == 0)
            emit m_tray->menuOpening();
        return m_tray->m_revision != before;
    }

    QList<int> AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors)
    {
        QList<int> updates;
        for (int id : ids) {
            if (!id0OrItem(id))
                idErrors << id;
            else if (AboutToShow(id))
                updates << id;
        }
        return updates;
    }

signals:
    void LayoutUpdated(uint revision, int parent);
    void ItemsPropertiesUpdated(const platform::dbustray::MenuItems &updatedProps,
                                const platform::dbustray::MenuItemKeysList &removedProps);
    void ItemActivationRequested(int id, uint timestamp);

private:
    bool id0OrItem(int id) const { return id >= 0 && id <= m_tray->m_menu.size(); }
    bool known(int id)
    {
        if (id0OrItem(id))
            return true;
        if (calledFromDBus())
            sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no menu item %1").arg(id));
        return false;
    }
    void handle(int id, const QString &eventId)
    {
        if (eventId != QLatin1String("clicked") || id <= 0 || id > m_tray->m_menu.size()
            || m_tray->m_menu.at(id - 1).separator)
            return;
        // The answer goes back first: the action may be to quit.
        QPointer<StatusNotifierTray> tray(m_tray);
        QMetaObject::invokeMethod(m_tray, [tray, index = id - 1] {
            if (tray)
                emit tray->itemChosen(index);
        }, Qt::QueuedConnection);
    }

    StatusNotifierTray *m_tray;
};

StatusNotifierTray::StatusNotifierTray(QDBusConnection bus, QObject *parent)
    : IStatusTray(parent), m_bus(std::move(bus))
{
    registerTypes();
    static std::atomic<int> instances{0};
    m_service = QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(::getpid()).arg(++instances);
    m_item = std::make_unique<StatusNotifierItemObject>(this);
    m_menuObject = std::make_unique<StatusMenuObject>(this);
    // A panel that starts (or restarts) after the icon was shown gets it.
    m_watcher.setConnection(m_bus);
    m_watcher.setWatchMode(QDBusServiceWatcher::WatchForRegistration);
    m_watcher.addWatchedService(QString::fromLatin1(WatcherService));
    connect(&m_watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
        if (m_exported)
            registerWithWatcher();
    });
}

StatusNotifierTray::~StatusNotifierTray()
{
    if (m_exported) {
        m_bus.unregisterObject(QString::fromLatin1(ItemPath));
        m_bus.unregisterObject(QString::fromLatin1(MenuPath));
        m_bus.unregisterService(m_service);
    }
}

void StatusNotifierTray::show(const QIcon &icon, const QString &toolTip, const QList<StatusMenuItem> &menu)
{
    m_pictures.clear();
    for (int side : {18, 36}) {
        QImage picture = icon.pixmap(QSize(side, side), 1.0).toImage();
        if (picture.size() != QSize(side, side))
            picture = picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        m_pictures << picture;
    }
    m_toolTip = toolTip;
    setMenu(menu);
    if (!m_exported) {
        if (!m_bus.isConnected())
            return;
        m_exported = m_bus.registerObject(QString::fromLatin1(ItemPath), m_item.get(), QDBusConnection::ExportAllContents)
            && m_bus.registerObject(QString::fromLatin1(MenuPath), m_menuObject.get(), QDBusConnection::ExportAllContents)
            && m_bus.registerService(m_service);
        if (!m_exported) {
            m_bus.unregisterObject(QString::fromLatin1(ItemPath));
            m_bus.unregisterObject(QString::fromLatin1(MenuPath));
            return;
        }
        registerWithWatcher();
        return;
    }
    emit m_item->NewIcon();
    emit m_item->NewToolTip();
}

void StatusNotifierTray::setMenu(const QList<StatusMenuItem> &menu)
{
    if (menu == m_menu)
        return;
    m_menu = menu;
    ++m_revision;
    if (m_exported)
        m_menuObject->changed();
}

void StatusNotifierTray::registerWithWatcher()
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(WatcherService),
                                                       QStringLiteral("/StatusNotifierWatcher"),
                                                       QString::fromLatin1(WatcherService),
                                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << m_service;
    // No watcher, no status area: nothing shows, and the watcher's arrival
    // brings the icon.
    m_bus.asyncCall(call);
}

} // namespace platform

#include "statusnotifiertray.moc"
