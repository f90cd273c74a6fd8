#pragma once

#include "platform/linux/dbusmenutypes.h"
#include "platform/linux/statusnotifiertray.h"

#include <QDBusContext>
#include <QDBusError>
#include <QDBusObjectPath>
#include <QGuiApplication>
#include <QPointer>
#include <QtEndian>

// The two objects a status icon puts on the bus; used by StatusNotifierTray
// only.
namespace platform {

namespace dbustray {


// The icon's pictures as the status area takes them: ARGB32, each pixel in
// network byte order.
inline Pixmaps toPixmaps(const QList<QImage> &pictures)
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

// A key as panels name it: the X key name for punctuation ("comma" for ','),
// Qt's portable name for the rest ("Q", "F5").
inline QString keyName(int key)
{
    static const char *const punctuation[] = {
        "space", "exclam", "quotedbl", "numbersign", "dollar", "percent", "ampersand", "apostrophe",
        "parenleft", "parenright", "asterisk", "plus", "comma", "minus", "period", "slash"};
    static const char *const between[] = {"colon", "semicolon", "less", "equal", "greater", "question", "at"};
    static const char *const brackets[] = {"bracketleft", "backslash", "bracketright", "asciicircum", "underscore",
                                           "grave"};
    static const char *const braces[] = {"braceleft", "bar", "braceright", "asciitilde"};
    if (key >= 0x20 && key <= 0x2f)
        return QString::fromLatin1(punctuation[key - 0x20]);
    if (key >= 0x3a && key <= 0x40)
        return QString::fromLatin1(between[key - 0x3a]);
    if (key >= 0x5b && key <= 0x60)
        return QString::fromLatin1(brackets[key - 0x5b]);
    if (key >= 0x7b && key <= 0x7e)
        return QString::fromLatin1(braces[key - 0x7b]);
    return QKeySequence(key).toString(QKeySequence::PortableText);
}

// Ctrl+Q as [["Control", "Q"]], Ctrl+, as [["Control", "comma"]].
inline Shortcut toShortcut(const QKeySequence &keys)
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
        press << keyName(combination.key());
        out << press;
    }
    return out;
}

inline QVariantMap itemProperties(const StatusMenuItem &item, const QStringList &wanted)
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

inline QVariantMap rootProperties(const QStringList &wanted)
{
    QVariantMap all{{QStringLiteral("children-display"), QStringLiteral("submenu")}};
    if (!wanted.isEmpty() && !wanted.contains(QStringLiteral("children-display")))
        return {};
    return all;
}


} // namespace dbustray

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
    dbustray::Pixmaps iconPixmap() const { return dbustray::toPixmaps(m_tray->m_pictures); }
    dbustray::Pixmaps noPixmaps() const { return {}; }
    dbustray::ToolTip toolTip() const { return dbustray::ToolTip{QString(), {}, m_tray->m_toolTip, QString()}; }
    // The icon's one action is its menu, for plain clicks too.
    bool itemIsMenu() const { return true; }
    QDBusObjectPath menu() const { return QDBusObjectPath(QString::fromLatin1(StatusNotifierTray::MenuPath)); }

public slots:
    // Most panels open the menu themselves (ItemIsMenu); one that asks the
    // icon instead, for any click, gets the menu at the point it names.
    void Activate(int x, int y) { emit m_tray->menuRequested(QPoint(x, y)); }
    void SecondaryActivate(int x, int y) { emit m_tray->menuRequested(QPoint(x, y)); }
    void ContextMenu(int x, int y) { emit m_tray->menuRequested(QPoint(x, y)); }
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
        layout = dbustray::MenuLayout{};
        layout.id = parentId;
        if (parentId > 0) {
            layout.properties = dbustray::itemProperties(m_tray->m_menu.at(parentId - 1), propertyNames);
            return m_tray->m_revision;
        }
        layout.properties = dbustray::rootProperties(propertyNames);
        if (recursionDepth != 0) {
            for (int i = 0; i < m_tray->m_menu.size(); ++i) {
                const dbustray::MenuLayout child{i + 1, dbustray::itemProperties(m_tray->m_menu.at(i), propertyNames),
                                                 {}};
                layout.children << QDBusVariant(QVariant::fromValue(child));
            }
        }
        return m_tray->m_revision;
    }

    platform::dbustray::MenuItems GetGroupProperties(const QList<int> &ids, const QStringList &propertyNames)
    {
        dbustray::MenuItems out;
        for (int id : ids) {
            if (id == 0)
                out << dbustray::MenuItem{0, dbustray::rootProperties(propertyNames)};
            else if (id > 0 && id <= m_tray->m_menu.size())
                out << dbustray::MenuItem{id, dbustray::itemProperties(m_tray->m_menu.at(id - 1), propertyNames)};
        }
        return out;
    }

    QDBusVariant GetProperty(int id, const QString &name)
    {
        if (!known(id))
            return {};
        const QVariantMap props =
            id == 0 ? dbustray::rootProperties({}) : dbustray::itemProperties(m_tray->m_menu.at(id - 1), {});
        return QDBusVariant(props.value(name, QString()));
    }

    void Event(int id, const QString &eventId, const QDBusVariant &, uint) { handle(id, eventId); }

    QList<int> EventGroup(const platform::dbustray::MenuEvents &events)
    {
        QList<int> errors;
        for (const dbustray::MenuEvent &e : events) {
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

} // namespace platform
