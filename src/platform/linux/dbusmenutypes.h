#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The D-Bus shapes of a status icon (org.kde.StatusNotifierItem) and of its
// menu (com.canonical.dbusmenu).
namespace platform::dbustray {

// One picture of the icon: ARGB32 pixels in network byte order. (iiay)
struct Pixmap {
    int width = 0;
    int height = 0;
    QByteArray bytes;
};
using Pixmaps = QList<Pixmap>;

// (sa(iiay)ss)
struct ToolTip {
    QString iconName;
    Pixmaps pictures;
    QString title;
    QString text;
};

// A menu item with the items under it. (ia{sv}av)
struct MenuLayout {
    int id = 0;
    QVariantMap properties;
    QList<QDBusVariant> children; // each a MenuLayout
};

// (ia{sv})
struct MenuItem {
    int id = 0;
    QVariantMap properties;
};
using MenuItems = QList<MenuItem>;

// (ias)
struct MenuItemKeys {
    int id = 0;
    QStringList names;
};
using MenuItemKeysList = QList<MenuItemKeys>;

// (isvu)
struct MenuEvent {
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};
using MenuEvents = QList<MenuEvent>;

// A key shortcut as dbusmenu spells it: [["Control", "q"]]. (aas)
using Shortcut = QList<QStringList>;

QDBusArgument &operator<<(QDBusArgument &arg, const Pixmap &p);
const QDBusArgument &operator>>(const QDBusArgument &arg, Pixmap &p);
QDBusArgument &operator<<(QDBusArgument &arg, const ToolTip &t);
const QDBusArgument &operator>>(const QDBusArgument &arg, ToolTip &t);
QDBusArgument &operator<<(QDBusArgument &arg, const MenuLayout &l);
const QDBusArgument &operator>>(const QDBusArgument &arg, MenuLayout &l);
QDBusArgument &operator<<(QDBusArgument &arg, const MenuItem &i);
const QDBusArgument &operator>>(const QDBusArgument &arg, MenuItem &i);
QDBusArgument &operator<<(QDBusArgument &arg, const MenuItemKeys &k);
const QDBusArgument &operator>>(const QDBusArgument &arg, MenuItemKeys &k);
QDBusArgument &operator<<(QDBusArgument &arg, const MenuEvent &e);
const QDBusArgument &operator>>(const QDBusArgument &arg, MenuEvent &e);

// Makes the shapes above known to Qt D-Bus; safe to call more than once.
void registerTypes();

} // namespace platform::dbustray

Q_DECLARE_METATYPE(platform::dbustray::Pixmap)
Q_DECLARE_METATYPE(platform::dbustray::ToolTip)
Q_DECLARE_METATYPE(platform::dbustray::MenuLayout)
Q_DECLARE_METATYPE(platform::dbustray::MenuItem)
Q_DECLARE_METATYPE(platform::dbustray::MenuItemKeys)
Q_DECLARE_METATYPE(platform::dbustray::MenuEvent)
