#include "tools/toolviews.h"

#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QQmlEngine>
#include <QQuickImageProvider>
#include <algorithm>
#include <cmath>

// ---- Calculator ----

QString CalcPanel::subtitle(bool extras, bool showAsFraction)
{
    if (extras)
        return QStringLiteral("Units");
    return showAsFraction ? QStringLiteral("Fractions on") : QStringLiteral("Tap a b/c for fractions");
}

QList<QList<CalcKey>> CalcPanel::rows()
{
    using K = CalcKey::Kind;
    const auto d = CalcKey::ofDigit;
    return {
        {CalcKey::of(K::ac), CalcKey::of(K::sign), CalcKey::of(K::percent), CalcKey::ofOp(CalcOp::div)},
        {d(7), d(8), d(9), CalcKey::ofOp(CalcOp::mul)},
        {d(4), d(5), d(6), CalcKey::ofOp(CalcOp::sub)},
        {d(1), d(2), d(3), CalcKey::ofOp(CalcOp::add)},
        {d(0), CalcKey::of(K::dot), CalcKey::of(K::fraction), CalcKey::of(K::equals)},
    };
}

CalcPanel::KeyLook CalcPanel::look(const CalcKey &key)
{
    using K = CalcKey::Kind;
    switch (key.kind) {
    case K::op:
        return {QStringLiteral("amber"), QStringLiteral("onAccent"), 16, true, true};
    case K::equals:
        return {QStringLiteral("yellow"), QStringLiteral("onAccent"), 16, true, true};
    case K::ac:
    case K::sign:
    case K::percent:
        return {QStringLiteral("fillStrong"), QStringLiteral("textPrimary"), 16, true, false};
    case K::fraction:
        return {QStringLiteral("fillStrong"), QStringLiteral("textPrimary"), 10, false, false};
    case K::digit:
    case K::dot:
    case K::backspace:
        break;
    }
    return {QStringLiteral("fill"), QStringLiteral("textPrimary"), 16, true, false};
}

QString CalcPanel::expressionLine(const QString &expression)
{
    return expression.isEmpty() ? QStringLiteral(" ") : expression;
}

QString CalcPanel::readoutColor(bool error)
{
    return error ? QStringLiteral("coral") : QStringLiteral("textPrimary");
}

QString CalcPanel::compactWhole(const QString &digits)
{
    constexpr int shown = 4;
    if (digits.size() <= shown)
        return digits;
    static const char16_t superscripts[] = u"\u2070\u00B9\u00B2\u00B3\u2074\u2075\u2076\u2077\u2078\u2079";
    QString power;
    for (QChar c : QString::number(digits.size() - 1))
        power += QChar(superscripts[c.digitValue()]);
    return digits.left(1) + u'.' + digits.mid(1, shown - 1) + QStringLiteral("\u2026\u00D710") + power;
}

// ---- Unit convert ----

QList<UnitConvert::Mode> UnitConvert::modes()
{
    return {Mode::temp, Mode::px, Mode::length, Mode::time};
}

QString UnitConvert::caption(Mode mode)
{
    switch (mode) {
    case Mode::temp: return QStringLiteral("Temp");
    case Mode::px: return QStringLiteral("px / pt");
    case Mode::length: return QStringLiteral("in / cm");
    case Mode::time: return QStringLiteral("min / hr");
    }
    return {};
}

std::optional<double> UnitConvert::read(const QString &value)
{
    QString text = value;
    text.replace(u',', u'.');
    bool ok = false;
    const double x = QLocale::c().toDouble(text, &ok);
    // The C locale's reader skips surrounding spaces; a number with spaces
    // around it is not one complete number.
    if (text != text.trimmed() || std::isnan(x))
        return 0;
    // Past the double's range the reader gives an infinity and no success;
    // a number too small for it reads as the 0 it rounds to.
    if (std::isinf(x))
        return std::nullopt;
    return ok ? x : 0;
}

namespace {
// Both conversions of x, first unit to second and back.
std::pair<double, double> converted(UnitConvert::Mode mode, double x)
{
    using M = UnitConvert::Mode;
    switch (mode) {
    case M::temp: return {(x - 32) * 5 / 9, x * 9 / 5 + 32};
    case M::px: return {x * 0.75, x / 0.75};
    case M::length: return {x * 2.54, x / 2.54};
    case M::time: return {x / 60, x * 60};
    }
    return {0, 0};
}
} // namespace

bool UnitConvert::inRange(Mode mode, const QString &value)
{
    constexpr double limit = 1e15;
    const std::optional<double> x = read(value);
    if (!x)
        return false;
    const auto [a, b] = converted(mode, *x);
    return std::abs(*x) < limit && std::abs(a) < limit && std::abs(b) < limit;
}

QString UnitConvert::line(Mode mode, const QString &value)
{
    if (!inRange(mode, value))
        return QStringLiteral("Too large to convert");
    const double x = *read(value);
    const auto [a, b] = converted(mode, x);
    const QString sep = QStringLiteral("   \u00B7   ");
    auto f = [](double v, int places) {
        // "-0.0" reads as "0.0".
        const QString s = QString::number(v, 'f', places);
        return s.startsWith(u'-') && QString::number(-v, 'f', places).toDouble() == 0 ? s.mid(1) : s;
    };
    switch (mode) {
    case Mode::temp:
        return f(x, 1) + QStringLiteral(" °F → ") + f(a, 1) + QStringLiteral(" °C") + sep + f(x, 1)
            + QStringLiteral(" °C → ") + f(b, 1) + QStringLiteral(" °F");
    case Mode::px:
        return f(x, 1) + QStringLiteral(" px → ") + f(a, 1) + QStringLiteral(" pt") + sep + f(x, 1)
            + QStringLiteral(" pt → ") + f(b, 1) + QStringLiteral(" px");
    case Mode::length:
        return f(x, 2) + QStringLiteral(" in → ") + f(a, 2) + QStringLiteral(" cm") + sep + f(x, 2)
            + QStringLiteral(" cm → ") + f(b, 2) + QStringLiteral(" in");
    case Mode::time:
        return f(x, 0) + QStringLiteral(" min → ") + f(a, 2) + QStringLiteral(" hr") + sep + f(x, 2)
            + QStringLiteral(" hr → ") + f(b, 0) + QStringLiteral(" min");
    }
    return {};
}

// ---- Pocket ----

QString PocketPanel::subtitle(int count, bool unsaved)
{
    if (unsaved)
        return QStringLiteral("Couldn't save changes");
    if (count <= 0)
        return QStringLiteral("Drop files here, drag them out later");
    return QString::number(count) + QStringLiteral(" held");
}

QString PocketPanel::detail(bool isDirectory, qint64 byteCount, bool missing, const QLocale &locale)
{
    if (missing)
        return isDirectory ? QStringLiteral("Folder gone from disk") : QStringLiteral("File gone from disk");
    const QString tail = QStringLiteral("  \u00B7  drag out");
    if (isDirectory)
        return QStringLiteral("Folder") + tail;
    return locale.formattedDataSize(byteCount, 1, QLocale::DataSizeSIFormat) + tail;
}

QVariantMap PocketPanel::dragData(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {};
    const QUrl url = QUrl::fromLocalFile(path);
    return {{QStringLiteral("text/uri-list"), QString::fromUtf8(url.toEncoded()) + QStringLiteral("\r\n")}};
}

// ---- Translator ----

QString TranslatorPanel::statusLine(bool busy, const QString &status, const QString &output, const QString &pairLabel)
{
    if (busy)
        return QStringLiteral("Translating…");
    if (status == QLatin1String("Copied") || status == QLatin1String("Pasted"))
        return status;
    if (status.startsWith(QLatin1String("Couldn't")) || status.startsWith(QLatin1String("Type"))
        || status.startsWith(QLatin1String("Clipboard")))
        return status;
    if (output.isEmpty())
        return QStringLiteral("Type, then translate");
    return pairLabel;
}

bool TranslatorPanel::showsClear(const QString &input, const QString &output)
{
    return !input.isEmpty() || !output.isEmpty();
}

QString TranslatorPanel::translateTitle(bool busy)
{
    return busy ? QStringLiteral("…") : QStringLiteral("Translate");
}

// ---- File icons ----

namespace {
const QString iconProvider = QStringLiteral("pavletfileicon");

// A plain page, or a folder, in white at 58 %.
QImage drawnIcon(bool folder, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 24.0, size.height() / 24.0);
    QPainterPath path;
    if (folder) {
        path.addRoundedRect(QRectF(2, 6.5, 20, 13.5), 2, 2);
        path.addRoundedRect(QRectF(2, 4, 8, 5), 1.5, 1.5);
    } else {
        path.moveTo(6, 2);
        path.lineTo(13.5, 2);
        path.lineTo(20, 8.5);
        path.lineTo(20, 20);
        path.quadTo(20, 22, 18, 22);
        path.lineTo(6, 22);
        path.quadTo(4, 22, 4, 20);
        path.lineTo(4, 4);
        path.quadTo(4, 2, 6, 2);
    }
    p.fillPath(path.simplified(), QColor::fromRgbF(1, 1, 1, 0.58f));
    return image;
}

// Ids are "d" (a folder) or "f" and the path's bytes in hex: the desktop
// theme's icon for the file's type, else our own page or folder drawing.
class FileIconProvider : public QQuickImageProvider {
public:
    FileIconProvider()
        : QQuickImageProvider(QQuickImageProvider::Image)
    {
    }
    QImage requestImage(const QString &id, QSize *size, const QSize &requested) override
    {
        const bool dir = id.startsWith(u'd');
        const QString path = QString::fromUtf8(QByteArray::fromHex(id.mid(1).toLatin1()));
        const QSize want = requested.isValid() && !requested.isEmpty() ? requested : QSize(56, 56);
        static const QMimeDatabase mimes;
        const QMimeType type = dir ? mimes.mimeTypeForName(QStringLiteral("inode/directory"))
                                   : mimes.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
        QIcon icon = QIcon::fromTheme(type.iconName());
        if (icon.isNull())
            icon = QIcon::fromTheme(type.genericIconName());
        QImage image = icon.isNull() ? QImage() : icon.pixmap(want).toImage();
        if (image.isNull())
            image = drawnIcon(dir, want);
        if (size)
            *size = image.size();
        return image;
    }
};
} // namespace

QUrl ToolViews::pocketIcon(const QString &path, bool isDirectory) const
{
    if (QQmlEngine *engine = qmlEngine(this)) {
        if (!engine->imageProvider(iconProvider))
            engine->addImageProvider(iconProvider, new FileIconProvider);
    }
    return QUrl(QStringLiteral("image://") + iconProvider + QLatin1Char('/') + (isDirectory ? u'd' : u'f')
                + QString::fromLatin1(path.toUtf8().toHex()));
}

// ---- QML ----

QString ToolViews::calcSubtitle(bool extras, bool showAsFraction) const
{
    return CalcPanel::subtitle(extras, showAsFraction);
}

QList<CalcKeyRow> ToolViews::calcRows() const
{
    QList<CalcKeyRow> rows;
    for (const QList<CalcKey> &row : CalcPanel::rows())
        rows.append({row});
    return rows;
}

CalcKeyLook ToolViews::calcKeyLook(const CalcKey &key) const
{
    return CalcPanel::look(key);
}

QString ToolViews::calcExpressionLine(const QString &expression) const
{
    return CalcPanel::expressionLine(expression);
}

QString ToolViews::calcReadoutColor(bool error) const
{
    return CalcPanel::readoutColor(error);
}

QString ToolViews::calcCompactWhole(const QString &digits) const
{
    return CalcPanel::compactWhole(digits);
}

QList<ConvertMode> ToolViews::convertModes() const
{
    QList<ConvertMode> list;
    for (UnitConvert::Mode m : UnitConvert::modes())
        list.append({int(m), UnitConvert::caption(m)});
    return list;
}

QString ToolViews::convertLine(int mode, const QString &value) const
{
    if (mode < 0 || mode > int(UnitConvert::Mode::time))
        return {};
    return UnitConvert::line(UnitConvert::Mode(mode), value);
}

bool ToolViews::convertInRange(int mode, const QString &value) const
{
    if (mode < 0 || mode > int(UnitConvert::Mode::time))
        return false;
    return UnitConvert::inRange(UnitConvert::Mode(mode), value);
}

QString ToolViews::pocketSubtitle(int count, bool unsaved) const
{
    return PocketPanel::subtitle(count, unsaved);
}

QString ToolViews::pocketDetail(bool isDirectory, qint64 byteCount, bool missing) const
{
    return PocketPanel::detail(isDirectory, byteCount, missing);
}

QVariantMap ToolViews::pocketDragData(const QString &path) const
{
    return PocketPanel::dragData(path);
}

QString ToolViews::translatorStatus(bool busy, const QString &status, const QString &output,
                                    const QString &pairLabel) const
{
    return TranslatorPanel::statusLine(busy, status, output, pairLabel);
}

bool ToolViews::translatorShowsClear(const QString &input, const QString &output) const
{
    return TranslatorPanel::showsClear(input, output);
}

QString ToolViews::translateTitle(bool busy) const
{
    return TranslatorPanel::translateTitle(busy);
}

double ToolViews::translatorInputTextHeight(double contentHeight, double lineHeight) const
{
    return std::clamp(contentHeight, 3 * lineHeight, 6 * lineHeight);
}
