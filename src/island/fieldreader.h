#pragma once

#include <QVariant>

// Reads a named field of a value handed over from QML, whatever form it has
// there: a gadget record, a map (a JavaScript object), or a QObject.
namespace FieldReader {
// False for undefined, null and invalid values.
bool isPresent(const QVariant &value);
QVariant field(const QVariant &value, const char *name);
QString text(const QVariant &value, const char *name);
bool flag(const QVariant &value, const char *name);
int number(const QVariant &value, const char *name);
// A list from QML, as a list of variants (a JavaScript array or a QList of gadgets).
QVariantList list(const QVariant &value);
} // namespace FieldReader
