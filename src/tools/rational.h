#pragma once

#include "tools/tooltypes.h"

#include <QMetaType>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

// What the calculator's screen draws: a plain number on one line, a stacked
// mixed fraction, or the error state.
struct CalcReadout {
    Q_GADGET
    QML_VALUE_TYPE(calcReadout)
    Q_PROPERTY(CalcReadoutKinds::ReadoutKind kind MEMBER kind)
    Q_PROPERTY(QString text MEMBER text)
    Q_PROPERTY(bool negative MEMBER negative)
    Q_PROPERTY(bool hasWhole READ hasWhole)
    Q_PROPERTY(QString whole READ wholeText)
    Q_PROPERTY(QString num MEMBER num)
    Q_PROPERTY(QString den MEMBER den)
    Q_PROPERTY(bool isFraction READ isFraction)
    Q_PROPERTY(bool isError READ isError)
    // What the one-line form shows: the number, or "Error".
    Q_PROPERTY(QString lineText READ lineText)
public:
    using Kind = CalcReadoutKinds::ReadoutKind;

    Kind kind = Kind::digits;
    QString text; // digits
    bool negative = false;
    std::optional<QString> whole;
    QString num;
    QString den;

    static CalcReadout digits(const QString &text) { return {Kind::digits, text, false, std::nullopt, {}, {}}; }
    static CalcReadout fraction(bool negative, std::optional<QString> whole, const QString &num, const QString &den)
    {
        return {Kind::fraction, {}, negative, std::move(whole), num, den};
    }
    static CalcReadout error() { return {Kind::error, {}, false, std::nullopt, {}, {}}; }

    bool hasWhole() const { return whole.has_value(); }
    bool isFraction() const { return kind == Kind::fraction; }
    bool isError() const { return kind == Kind::error; }
    QString lineText() const { return kind == Kind::error ? QStringLiteral("Error") : text; }
    QString wholeText() const { return whole.value_or(QString()); }
    bool operator==(const CalcReadout &) const = default;
};

// An exact fraction of two signed 64-bit integers, always in lowest terms
// with the sign on the numerator. The most negative 64-bit value is never
// stored, so negating never overflows; any operation that would need it
// gives no value instead.
struct Rational {
    qint64 num = 0;
    qint64 den = 1;

    // Normalised value of n/d; none when normalising overflows. A zero
    // denominator counts as 1.
    static std::optional<Rational> make(qint64 n, qint64 d);
    static constexpr Rational zero() { return Rational{}; }
    static Rational whole(qint64 n) { return Rational{n, 1}; }

    // Divides both fields by their greatest common divisor; false when that
    // would need the most negative value.
    bool reduce();

    std::optional<Rational> adding(const Rational &other) const;
    std::optional<Rational> subtracting(const Rational &other) const;
    std::optional<Rational> multiplied(const Rational &other) const;
    std::optional<Rational> divided(const Rational &other) const;
    std::optional<Rational> negated() const { return make(-num, den); }

    // The exact value of a typed decimal text ("2.50", "-0.125", "12.").
    static std::optional<Rational> parse(const QString &text);

    QString mixedText() const;
    QString decimalText(int places = 10) const;
    CalcReadout readout() const;

    bool isWhole() const { return den == 1; }
    bool operator==(const Rational &) const = default;
};
