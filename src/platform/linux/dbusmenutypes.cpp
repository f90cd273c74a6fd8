#include "platform/linux/dbusmenutypes.h"

#include <QDBusMetaType>

namespace platform::dbustray {

QDBusArgument &operator<<(QDBusArgument &arg, const Pixmap &p)
{
    arg.beginStructure();
    arg << p.width << p.height << p.bytes;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, Pixmap &p)
{
    arg.beginStructure();
    arg >> p.width >> p.height >> p.bytes;
    arg.endStructure();
    return arg;
}

QDBusArgument &operator<<(QDBusArgument &arg, const ToolTip &t)
{
    arg.beginStructure();
    arg << t.iconName << t.pictures << t.title << t.text;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, ToolTip &t)
{
    arg.beginStructure();
    arg >> t.iconName >> t.pictures >> t.title >> t.text;
    arg.endStructure();
    return arg;
}

QDBusArgument &operator<<(QDBusArgument &arg, const MenuLayout &l)
{
    arg.beginStructure();
    arg << l.id << l.properties;
    arg.beginArray(QMetaType::fromType<QDBusVariant>());
    for (const QDBusVariant &child : l.children)
        arg << child;
    arg.endArray();
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, MenuLayout &l)
{
    arg.beginStructure();
    arg >> l.id >> l.properties;
    l.children.clear();
    arg.beginArray();
    while (!arg.atEnd()) {
        QDBusVariant child;
        arg >> child;
        l.children << child;
    }
    arg.endArray();
    arg.endStructure();
    return arg;
}

QDBusArgument &operator<<(QDBusArgument &arg, const MenuItem &i)
{
    arg.beginStructure();
    arg << i.id << i.properties;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, MenuItem &i)
{
    arg.beginStructure();
    arg >> i.id >> i.properties;
    arg.endStructure();
    return arg;
}

QDBusArgument &operator<<(QDBusArgument &arg, const MenuItemKeys &k)
{
    arg.beginStructure();
    arg << k.id << k.names;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, MenuItemKeys &k)
{
    arg.beginStructure();
    arg >> k.id >> k.names;
    arg.endStructure();
    return arg;
}

QDBusArgument &operator<<(QDBusArgument &arg, const MenuEvent &e)
{
    arg.beginStructure();
    arg << e.id << e.eventId << e.data << e.timestamp;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, MenuEvent &e)
{
    arg.beginStructure();
    arg >> e.id >> e.eventId >> e.data >> e.timestamp;
    arg.endStructure();
    return arg;
}

void registerTypes()
{
    static const bool once = [] {
        qDBusRegisterMetaType<Pixmap>();
        qDBusRegisterMetaType<Pixmaps>();
        qDBusRegisterMetaType<ToolTip>();
        qDBusRegisterMetaType<MenuLayout>();
        qDBusRegisterMetaType<MenuItem>();
        qDBusRegisterMetaType<MenuItems>();
        qDBusRegisterMetaType<MenuItemKeys>();
        qDBusRegisterMetaType<MenuItemKeysList>();
        qDBusRegisterMetaType<MenuEvent>();
        qDBusRegisterMetaType<MenuEvents>();
        qDBusRegisterMetaType<Shortcut>();
        // The lists as the exported methods spell them.
        qRegisterMetaType<Pixmaps>("platform::dbustray::Pixmaps");
        qRegisterMetaType<MenuItems>("platform::dbustray::MenuItems");
        qRegisterMetaType<MenuItemKeysList>("platform::dbustray::MenuItemKeysList");
        qRegisterMetaType<MenuEvents>("platform::dbustray::MenuEvents");
        return true;
    }();
    Q_UNUSED(once);
}

} // namespace platform::dbustray
