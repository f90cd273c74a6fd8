#include "tools/rational.h"

#include <limits>
#include <numeric>

namespace {

constexpr qint64 Min64 = std::numeric_limits<qint64>::min();

enum class IntRead { Ok, NotANumber, Overflow };

// An optional "+" or "-" followed by one or more ASCII digits.
IntRead readInt64(QStringView text, qint64 &out)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return IntRead::NotANumber;
    qint64 value = 0;
    bool overflow = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return IntRead::NotANumber;
        const int digit = c - u'0';
        // Accumulate negatively so that the most negative value still reads.
        if (!overflow && (__builtin_mul_overflow(value, 10, &value) || __builtin_sub_overflow(value, digit, &value)))
            overflow = true;
    }
    if (overflow)
        return IntRead::Overflow;
    if (!negative) {
        if (value == Min64)
            return IntRead::Overflow;
        value = -value;
    }
    out = value;
    return IntRead::Ok;
}

qint64 pow10(int k)
{
    qint64 p = 1;
    for (int i = 0; i < k; ++i)
        p *= 10;
    return p;
}

} // namespace

std::optional<Rational> Rational::make(qint64 n, qint64 d)
{
    if (n == Min64 || d == Min64)
        return std::nullopt;
    if (d < 0) {
        n = -n;
        d = -d;
    } else if (d == 0) {
        d = 1;
    }
    Rational r{n, d};
    if (!r.reduce())
        return std::nullopt;
    return r;
}

bool Rational::reduce()
{
    if (num == Min64 || den == Min64)
        return false;
    const qint64 a = num < 0 ? -num : num;
    const qint64 b = den < 0 ? -den : den;
    const qint64 g = b == 0 ? a : std::gcd(a, b);
    if (g >= 2) {
        num /= g;
        den /= g;
    }
    return true;
}

std::optional<Rational> Rational::adding(const Rational &o) const
{
    qint64 ad, cb, top, bottom;
    if (__builtin_mul_overflow(num, o.den, &ad) || __builtin_mul_overflow(o.num, den, &cb)
        || __builtin_add_overflow(ad, cb, &top) || __builtin_mul_overflow(den, o.den, &bottom))
        return std::nullopt;
    return make(top, bottom);
}

std::optional<Rational> Rational::subtracting(const Rational &o) const
{
    const auto negative = make(-o.num, o.den);
    if (!negative)
        return std::nullopt;
    return adding(*negative);
}

std::optional<Rational> Rational::multiplied(const Rational &o) const
{
    qint64 top, bottom;
    if (__builtin_mul_overflow(num, o.num, &top) || __builtin_mul_overflow(den, o.den, &bottom))
        return std::nullopt;
    return make(top, bottom);
}

std::optional<Rational> Rational::divided(const Rational &o) const
{
    if (o.num == 0)
        return std::nullopt;
    const auto reciprocal = make(o.den, o.num);
    if (!reciprocal)
        return std::nullopt;
    return multiplied(*reciprocal);
}

std::optional<Rational> Rational::parse(const QString &text)
{
    qsizetype start = 0, end = text.size();
    auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (start < end && blank(text[start]))
        ++start;
    while (end > start && blank(text[end - 1]))
        --end;
    const QStringView t = QStringView(text).mid(start, end - start);
    if (t.isEmpty() || t == u"-" || t == u"." || t == u"-.")
        return zero();

    qint64 n = 0;
    if (readInt64(t, n) == IntRead::Ok)
        return make(n, 1);

    const auto pieces = t.split(u'.');
    if (pieces.size() > 2)
        return std::nullopt;

    QString wholeText = pieces[0].toString();
    const bool negative = wholeText.startsWith(u'-');
    wholeText.remove(u'-');
    if (wholeText.isEmpty())
        wholeText = QStringLiteral("0");
    qint64 w = 0;
    switch (readInt64(wholeText, w)) {
    case IntRead::Ok:
        break;
    case IntRead::NotANumber:
        w = 0;
        break;
    case IntRead::Overflow:
        // A whole part too large to hold is no number at all, not a zero.
        return std::nullopt;
    }

    qint64 top = w, bottom = 1;
    if (pieces.size() == 2 && !pieces[1].isEmpty()) {
        const QStringView frac = pieces[1];
        if (frac.size() > 12)
            return std::nullopt;
        qint64 f = 0;
        if (readInt64(frac, f) != IntRead::Ok)
            return std::nullopt;
        bottom = pow10(int(frac.size()));
        if (__builtin_mul_overflow(w, bottom, &top) || __builtin_add_overflow(top, f, &top))
            return std::nullopt;
    }
    if (negative) {
        if (top == Min64)
            return std::nullopt;
        top = -top;
    }
    return make(top, bottom);
}

QString Rational::mixedText() const
{
    if (den == 1)
        return QString::number(num);
    const qint64 m = num < 0 ? -num : num;
    const qint64 w = m / den;
    const qint64 r = m - w * den;
    QString out = num < 0 ? QStringLiteral("-") : QString();
    if (r == 0)
        return out + QString::number(w);
    if (w != 0)
        out += QString::number(w) + u' ';
    return out + QString::number(r) + u'/' + QString::number(den);
}

QString Rational::decimalText(int places) const
{
    if (den == 1)
        return QString::number(num);
    const bool negative = num < 0;
    const __int128 m = negative ? -__int128(num) : __int128(num);
    __int128 whole = m / den;
    __int128 rem = m % den;
    QByteArray digits(places, '0');
    for (int i = 0; i < places; ++i) {
        rem *= 10;
        digits[i] = char('0' + int(rem / den));
        rem %= den;
    }
    // Halves round away from zero.
    if (rem * 2 >= den) {
        int i = places - 1;
        for (; i >= 0; --i) {
            if (digits[i] == '9') {
                digits[i] = '0';
            } else {
                ++digits[i];
                break;
            }
        }
        if (i < 0)
            ++whole;
    }
    while (digits.endsWith('0'))
        digits.chop(1);
    QString text = QString::number(qint64(whole));
    if (!digits.isEmpty())
        text += u'.' + QString::fromLatin1(digits);
    if (negative && (whole != 0 || !digits.isEmpty()))
        text.prepend(u'-');
    return text;
}

CalcReadout Rational::readout() const
{
    if (den == 1)
        return CalcReadout::digits(QString::number(num));
    const qint64 m = num < 0 ? -num : num;
    const qint64 w = m / den;
    const qint64 r = m - w * den;
    if (r == 0)
        return CalcReadout::digits((num < 0 ? QStringLiteral("-") : QString()) + QString::number(w));
    return CalcReadout::fraction(num < 0, w != 0 ? std::optional<QString>(QString::number(w)) : std::nullopt,
                                 QString::number(r), QString::number(den));
}
