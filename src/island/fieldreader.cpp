#include "island/fieldreader.h"

#include <QJSValue>
#include <QMetaProperty>
#include <QObject>
#include <QSequentialIterable>

namespace FieldReader {

namespace {
QVariant unwrap(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QJSValue>())
        return value.value<QJSValue>().toVariant();
    return value;
}
} // namespace

bool isPresent(const QVariant &raw)
{
    const QVariant value = unwrap(raw);
    if (!value.isValid() || value.isNull())
        return false;
    return value.metaType() != QMetaType::fromType<std::nullptr_t>();
}

QVariant field(const QVariant &raw, const char *name)
{
    const QVariant value = unwrap(raw);
    if (!isPresent(value))
        return {};
    const QMetaType type = value.metaType();
    if (type.id() == QMetaType::QVariantMap)
        return unwrap(value.toMap().value(QString::fromLatin1(name)));
    if (type.flags() & QMetaType::PointerToQObject) {
        if (QObject *object = value.value<QObject *>())
            return object->property(name);
        return {};
    }
    if (const QMetaObject *meta = type.metaObject(); meta && (type.flags() & QMetaType::IsGadget)) {
        const int index = meta->indexOfProperty(name);
        if (index >= 0)
            return meta->property(index).readOnGadget(value.constData());
    }
    return {};
}

QString text(const QVariant &value, const char *name) { return field(value, name).toString(); }
bool flag(const QVariant &value, const char *name) { return field(value, name).toBool(); }
int number(const QVariant &value, const char *name) { return field(value, name).toInt(); }

QVariantList list(const QVariant &raw)
{
    const QVariant value = unwrap(raw);
    if (!isPresent(value))
        return {};
    if (value.metaType().id() == QMetaType::QVariantList)
        return value.toList();
    QVariantList out;
    if (value.canConvert<QSequentialIterable>()) {
        const QSequentialIterable items = value.value<QSequentialIterable>();
        for (const QVariant &item : items)
            out.append(item);
    }
    return out;
}

} // namespace FieldReader
