#pragma once

#include "tools/calculatorengine.h"

#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>

// How a pad key looks: its fill and caption colours by palette name, its
// caption size, and whether the fill is an accent colour.
struct CalcKeyLook {
    Q_GADGET
    QML_VALUE_TYPE(calcKeyLook)
    Q_PROPERTY(QString fill MEMBER fill CONSTANT)
    Q_PROPERTY(QString ink MEMBER ink CONSTANT)
    Q_PROPERTY(int fontSize MEMBER fontSize CONSTANT)
    Q_PROPERTY(bool semibold MEMBER semibold CONSTANT)
    Q_PROPERTY(bool accent MEMBER accent CONSTANT)
public:
    QString fill;
    QString ink;
    int fontSize = 16;
    bool semibold = true;
    bool accent = false;
    bool operator==(const CalcKeyLook &) const = default;
};

// One row of the calculator's pad.
struct CalcKeyRow {
    Q_GADGET
    QML_VALUE_TYPE(calcKeyRow)
    Q_PROPERTY(QList<CalcKey> keys MEMBER keys CONSTANT)
public:
    QList<CalcKey> keys;
};

// A unit pair of the convert card: its mode (UnitConvert::Mode) and caption.
struct ConvertMode {
    Q_GADGET
    QML_VALUE_TYPE(convertMode)
    Q_PROPERTY(int mode MEMBER mode CONSTANT)
    Q_PROPERTY(QString caption MEMBER caption CONSTANT)
public:
    int mode = 0;
    QString caption;
};

// The rules the calculator, pocket and translator panels draw by.
namespace CalcPanel {
// The subtitle under "Calculator".
QString subtitle(bool extras, bool showAsFraction);
// The pad, top row first.
QList<QList<CalcKey>> rows();
using KeyLook = CalcKeyLook;
KeyLook look(const CalcKey &key);
// The expression line keeps its height with a single space.
QString expressionLine(const QString &expression);
// The readout's colour by palette name.
QString readoutColor(bool error);
// A whole part too long to show in full, with its size kept readable: its
// first four digits and its power of ten, "9.027…×10¹⁵".
QString compactWhole(const QString &digits);
} // namespace CalcPanel

// The unit pairs of the convert card.
namespace UnitConvert {
enum class Mode { temp, px, length, time };
QList<Mode> modes();
QString caption(Mode mode);
// The typed text as a number: a decimal comma counts as a point; anything
// but one complete number reads as 0. None for a number past what a double
// holds (1e400, or an infinity).
std::optional<double> read(const QString &value);
// Whether the card can show the value and both its conversions: each below
// 1e15 in size, a double's fifteen significant digits.
bool inRange(Mode mode, const QString &value);
// Both ways at once, "32.0 °F → 0.0 °C   ·   32.0 °C → 89.6 °F"; out of
// range, "Too large to convert".
QString line(Mode mode, const QString &value);
} // namespace UnitConvert

namespace PocketPanel {
// "N held", or what asks for a drop; while the list is unsaved, that it is.
QString subtitle(int count, bool unsaved = false);
// "Folder  ·  drag out", else the size and "  ·  drag out"; for a copy no
// longer on disk, that it is gone.
QString detail(bool isDirectory, qint64 byteCount, bool missing = false, const QLocale &locale = QLocale());
// What a row dragged out of the island carries: the file, or nothing at all
// once the file is gone.
QVariantMap dragData(const QString &path);
} // namespace PocketPanel

namespace TranslatorPanel {
QString statusLine(bool busy, const QString &status, const QString &output, const QString &pairLabel);
bool showsClear(const QString &input, const QString &output);
QString translateTitle(bool busy);
} // namespace TranslatorPanel

// The same rules for the views, as the QML singleton ToolViews.
class ToolViews : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // The panels' own sizes, in points.
    Q_PROPERTY(int calcKeyHeight MEMBER m_calcKeyHeight CONSTANT)
    Q_PROPERTY(int calcReadoutHeight MEMBER m_calcReadoutHeight CONSTANT)
    Q_PROPERTY(int calcWholeSize MEMBER m_calcWholeSize CONSTANT)
    Q_PROPERTY(int calcFractionGap MEMBER m_calcFractionGap CONSTANT)
    Q_PROPERTY(double calcDigitsMinScale MEMBER m_calcDigitsMinScale CONSTANT)
    Q_PROPERTY(double calcFractionMinScale MEMBER m_calcFractionMinScale CONSTANT)
    Q_PROPERTY(int pocketIconSize MEMBER m_pocketIconSize CONSTANT)
    Q_PROPERTY(int pocketEmptyHeight MEMBER m_pocketEmptyHeight CONSTANT)
    Q_PROPERTY(double pocketTargetScale MEMBER m_pocketTargetScale CONSTANT)
    Q_PROPERTY(int translatorInputHeight MEMBER m_translatorInputHeight CONSTANT)
    Q_PROPERTY(int translatorOutputHeight MEMBER m_translatorOutputHeight CONSTANT)
    Q_PROPERTY(double translatorBusyOpacity MEMBER m_translatorBusyOpacity CONSTANT)
public:
    using QObject::QObject;

    Q_INVOKABLE QString calcSubtitle(bool extras, bool showAsFraction) const;
    Q_INVOKABLE QList<CalcKeyRow> calcRows() const;
    Q_INVOKABLE CalcKeyLook calcKeyLook(const CalcKey &key) const;
    Q_INVOKABLE QString calcExpressionLine(const QString &expression) const;
    Q_INVOKABLE QString calcReadoutColor(bool error) const;
    Q_INVOKABLE QString calcCompactWhole(const QString &digits) const;

    // Modes of the convert card, and its line.
    Q_INVOKABLE QList<ConvertMode> convertModes() const;
    Q_INVOKABLE QString convertLine(int mode, const QString &value) const;
    Q_INVOKABLE bool convertInRange(int mode, const QString &value) const;

    Q_INVOKABLE QString pocketSubtitle(int count, bool unsaved) const;
    Q_INVOKABLE QString pocketDetail(bool isDirectory, qint64 byteCount, bool missing) const;
    Q_INVOKABLE QVariantMap pocketDragData(const QString &path) const;
    // The image source of a held file's icon.
    Q_INVOKABLE QUrl pocketIcon(const QString &path, bool isDirectory) const;

    Q_INVOKABLE QString translatorStatus(bool busy, const QString &status, const QString &output,
                                         const QString &pairLabel) const;
    Q_INVOKABLE bool translatorShowsClear(const QString &input, const QString &output) const;
    Q_INVOKABLE QString translateTitle(bool busy) const;
    // The input's height: its text's, kept between three and six lines.
    Q_INVOKABLE double translatorInputTextHeight(double contentHeight, double lineHeight) const;

private:
    int m_calcKeyHeight = 42, m_calcReadoutHeight = 52, m_calcWholeSize = 32, m_calcFractionGap = 3;
    double m_calcDigitsMinScale = 0.4, m_calcFractionMinScale = 0.5;
    int m_pocketIconSize = 28, m_pocketEmptyHeight = 132;
    double m_pocketTargetScale = 1.02;
    int m_translatorInputHeight = 92, m_translatorOutputHeight = 108;
    double m_translatorBusyOpacity = 0.55;
};
