#include "tools/unitconvert.h"

#include <cstdlib>

namespace UnitConvert {

namespace {
double readNumber(QString text)
{
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    if (text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return 0;
    const QByteArray bytes = text.toLatin1();
    if (QString::fromLatin1(bytes) != text)
        return 0;
    char *end = nullptr;
    const double value = std::strtod(bytes.constData(), &end);
    if (end != bytes.constData() + bytes.size())
        return 0;
    return value;
}
} // namespace

QString conversionLine(const QString &value, ConvertMode mode)
{
    const double x = readNumber(value);
    const char *format = nullptr;
    double a = 0, b = 0;
    switch (mode) {
    case ConvertMode::temp:
        a = (x - 32) * 5 / 9;
        b = x * 9 / 5 + 32;
        format = "%.1f °F → %.1f °C   ·   %.1f °C → %.1f °F";
        break;
    case ConvertMode::px:
        a = x * 0.75;
        b = x / 0.75;
        format = "%.1f px → %.1f pt   ·   %.1f pt → %.1f px";
        break;
    case ConvertMode::length:
        a = x * 2.54;
        b = x / 2.54;
        format = "%.2f in → %.2f cm   ·   %.2f cm → %.2f in";
        break;
    case ConvertMode::time:
        a = x / 60;
        b = x * 60;
        format = "%.0f min → %.2f hr   ·   %.2f hr → %.0f min";
        break;
    }
    return QString::asprintf(format, x, a, x, b);
}

} // namespace UnitConvert
