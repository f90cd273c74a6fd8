#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

// The unit card's conversions: one typed number read both ways between two
// units, as one line of text.
namespace UnitConvert {
enum class ConvertMode { temp, px, length, time };
QString conversionLine(const QString &value, ConvertMode mode);

} // namespace UnitConvert

// The conversions for the card, as the QML singleton UnitConvert.
class UnitConvertText : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(UnitConvert)
    QML_SINGLETON
public:
    using QObject::QObject;
    Q_INVOKABLE static QStringList convertModes() { return {QStringLiteral("Temp"), QStringLiteral("px / pt"), QStringLiteral("in / cm"), QStringLiteral("min / hr")}; }
    Q_INVOKABLE static QString conversionLine(const QString &value, int mode)
    {
        return UnitConvert::conversionLine(value, UnitConvert::ConvertMode(mode));
    }

};
