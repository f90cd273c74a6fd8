#include "tools/calculatorengine.h"

#include "core/keycodes.h"

QString calcOpLabel(CalcOp op)
{
    switch (op) {
    case CalcOp::add:
        return QStringLiteral("+");
    case CalcOp::sub:
        return QStringLiteral("\u2212");
    case CalcOp::mul:
        return QStringLiteral("\u00D7");
    case CalcOp::div:
        return QStringLiteral("\u00F7");
    }
    return {};
}

QString CalcKey::label() const
{
    switch (kind) {
    case Kind::digit:
        return QString::number(digit);
    case Kind::op:
        return calcOpLabel(op);
    case Kind::dot:
        return QStringLiteral(".");
    case Kind::equals:
        return QStringLiteral("=");
    case Kind::ac:
        return QStringLiteral("AC");
    case Kind::sign:
        return QStringLiteral("\u00B1");
    case Kind::percent:
        return QStringLiteral("%");
    case Kind::fraction:
        return QStringLiteral("a b/c");
    case Kind::backspace:
        return QStringLiteral("\u232B");
    }
    return {};
}

namespace {

// Digits of a typed number, not counting "-" and ".".
int digitCount(const QString &s)
{
    int n = 0;
    for (QChar c : s)
        n += c.isDigit() ? 1 : 0;
    return n;
}

// A part read as a 64-bit integer; fallback when it does not read.
qint64 readPart(const QString &s, qint64 fallback)
{
    bool ok = false;
    const qint64 v = s.toLongLong(&ok);
    return ok ? v : fallback;
}

} // namespace

CalculatorEngine::CalculatorEngine(QObject *parent) : QObject(parent) {}

void CalculatorEngine::press(const CalcKey &key)
{
    if (m_error) {
        if (key.kind == CalcKey::Kind::ac)
            clearAll();
        else if (key.kind == CalcKey::Kind::backspace)
            backspace();
        else
            return;
        refresh();
        return;
    }
    run(key);
    refresh();
}

void CalculatorEngine::run(const CalcKey &key)
{
    switch (key.kind) {
    case CalcKey::Kind::digit:
        inputDigit(key.digit);
        break;
    case CalcKey::Kind::op:
        setOperator(key.op);
        break;
    case CalcKey::Kind::dot:
        inputDot();
        break;
    case CalcKey::Kind::equals:
        equals();
        break;
    case CalcKey::Kind::ac:
        clearAll();
        break;
    case CalcKey::Kind::sign:
        toggleSign();
        break;
    case CalcKey::Kind::percent:
        percent();
        break;
    case CalcKey::Kind::fraction:
        fractionKey();
        break;
    case CalcKey::Kind::backspace:
        backspace();
        break;
    }
}

void CalculatorEngine::beginEntry()
{
    m_entering = true;
    m_fractionMode = false;
    m_entry = QStringLiteral("0");
    m_fracWhole.clear();
    m_fracNum.clear();
    m_fracDen.clear();
    m_fracStage = 0;
    setErrorFlag(false);
}

void CalculatorEngine::inputDigit(int d)
{
    if (!m_entering)
        beginEntry();
    if (!m_fractionMode) {
        if (m_entry == u"0")
            m_entry = QString::number(d);
        else if (m_entry == u"-0")
            m_entry = u'-' + QString::number(d);
        else if (digitCount(m_entry) >= 12)
            return;
        else
            m_entry += QString::number(d);
        if (const auto v = Rational::parse(m_entry))
            m_current = *v;
        return;
    }
    appendDigit(m_fracStage == 0 ? m_fracWhole : m_fracStage == 1 ? m_fracNum : m_fracDen, d);
    updateFraction();
}

void CalculatorEngine::appendDigit(QString &part, int d)
{
    if (digitCount(part) >= 10)
        return;
    if (part == u"0")
        part = QString::number(d);
    else if (part == u"-0")
        part = u'-' + QString::number(d);
    else
        part += QString::number(d);
}

void CalculatorEngine::inputDot()
{
    if (m_entering && m_fractionMode)
        return;
    if (m_entering) {
        if (!m_entry.contains(u'.'))
            m_entry += u'.';
        return;
    }
    beginEntry();
    m_entry = QStringLiteral("0.");
    m_current = Rational::zero();
}

void CalculatorEngine::commitEntry()
{
    if (!m_entering)
        return;
    if (m_fractionMode) {
        updateFraction();
    } else if (const auto v = Rational::parse(m_entry)) {
        m_current = *v;
    }
}

bool CalculatorEngine::apply(CalcOp op, const Rational &operand)
{
    if (!m_accumulator)
        return false;
    std::optional<Rational> r;
    switch (op) {
    case CalcOp::add:
        r = m_accumulator->adding(operand);
        break;
    case CalcOp::sub:
        r = m_accumulator->subtracting(operand);
        break;
    case CalcOp::mul:
        r = m_accumulator->multiplied(operand);
        break;
    case CalcOp::div:
        r = m_accumulator->divided(operand);
        break;
    }
    if (!r) {
        setError();
        return false;
    }
    m_current = *r;
    m_accumulator = *r;
    if (r->den == 1)
        setShowAsFraction(false);
    else if (r->den <= 1000)
        setShowAsFraction(true);
    return true;
}

void CalculatorEngine::setOperator(CalcOp op)
{
    commitEntry();
    if (m_error)
        return;
    if (m_accumulator && m_pending) {
        if (!apply(*m_pending, m_current))
            return;
    } else {
        m_accumulator = m_current;
    }
    m_pending = op;
    m_lastOp = op;
    m_lastOperand.reset();
    m_entering = false;
    m_fractionMode = false;
    setExpression(textOf(*m_accumulator) + u' ' + calcOpLabel(op));
}

void CalculatorEngine::equals()
{
    commitEntry();
    if (m_error)
        return;
    if (m_pending && m_accumulator) {
        m_lastOperand = m_current;
        m_lastOp = m_pending;
        if (!apply(*m_pending, m_current))
            return;
        m_pending.reset();
        m_accumulator.reset();
    } else if (m_lastOp && m_lastOperand) {
        m_accumulator = m_current;
        if (!apply(*m_lastOp, *m_lastOperand))
            return;
        m_accumulator.reset();
    }
    m_entering = false;
    m_fractionMode = false;
    setExpression(QString());
}

void CalculatorEngine::percent()
{
    commitEntry();
    if (m_error)
        return;
    Rational base = m_current;
    if (m_accumulator && (m_pending == CalcOp::add || m_pending == CalcOp::sub)) {
        const auto b = m_accumulator->multiplied(m_current);
        if (!b) {
            setError();
            return;
        }
        base = *b;
    }
    const auto r = base.divided(Rational::whole(100));
    if (!r) {
        setError();
        return;
    }
    m_current = *r;
    m_entering = false;
    m_fractionMode = false;
    setShowAsFraction(r->den != 1);
}

void CalculatorEngine::toggleSign()
{
    if (!m_entering) {
        m_current = Rational{-m_current.num, m_current.den};
        return;
    }
    if (!m_fractionMode) {
        if (m_entry.startsWith(u'-'))
            m_entry.remove(0, 1);
        else
            m_entry.prepend(u'-');
        if (const auto v = Rational::parse(m_entry))
            m_current = *v;
        return;
    }
    if (m_fracWhole.startsWith(u'-'))
        m_fracWhole.remove(0, 1);
    else
        m_fracWhole.prepend(u'-');
    updateFraction();
}

void CalculatorEngine::fractionKey()
{
    if (m_error)
        return;
    if (!m_entering) {
        setShowAsFraction(!m_showAsFraction);
        return;
    }
    if (m_fractionMode) {
        if (m_fracStage < 2)
            ++m_fracStage;
        updateFraction();
        return;
    }
    const Rational v = Rational::parse(m_entry).value_or(m_current);
    if (v.den == 1) {
        m_fracWhole = QString::number(v.num);
        m_fracNum.clear();
        m_fracDen.clear();
        m_fracStage = 1;
        m_fractionMode = true;
        updateFraction();
    } else {
        m_current = v;
        m_fractionMode = false;
        m_entering = false;
        setShowAsFraction(!m_showAsFraction);
    }
}

void CalculatorEngine::updateFraction()
{
    const QString w = m_fracWhole.isEmpty() ? QStringLiteral("0") : m_fracWhole;
    const bool negative = w.startsWith(u'-');
    const qint64 W = readPart(QString(w).remove(u'-'), 0);
    const qint64 N = readPart(m_fracNum.isEmpty() ? QStringLiteral("0") : m_fracNum, 0);
    const qint64 D = readPart(m_fracDen.isEmpty() ? QStringLiteral("1") : m_fracDen, 1);

    qint64 top = 0, bottom = 1;
    if (m_fracStage == 2 && !m_fracDen.isEmpty()) {
        if (D == 0) {
            setError();
            return;
        }
        if (__builtin_mul_overflow(W, D, &top) || __builtin_add_overflow(top, N, &top)) {
            setError();
            return;
        }
        bottom = D;
    } else {
        const qint64 divisor = m_fracNum.isEmpty() ? 1 : N;
        if (divisor == 0) {
            setError();
            return;
        }
        top = W;
        bottom = divisor;
    }
    const auto v = Rational::make(negative ? -top : top, bottom);
    if (!v) {
        setError();
        return;
    }
    m_current = *v;
    setShowAsFraction(true);
}

void CalculatorEngine::backspace()
{
    if (m_error) {
        clearAll();
        return;
    }
    if (!m_entering)
        return;
    if (m_fractionMode) {
        if (m_fracStage == 1) {
            if (m_fracNum.isEmpty())
                m_fracStage = 0;
            else
                m_fracNum.chop(1);
        } else if (m_fracStage == 2) {
            if (m_fracDen.isEmpty())
                m_fracStage = 1;
            else
                m_fracDen.chop(1);
        } else {
            m_fracWhole.chop(1);
            if (m_fracWhole.isEmpty() || m_fracWhole == u"-")
                m_fracWhole = QStringLiteral("0");
        }
        updateFraction();
        return;
    }
    if (m_entry.size() < 2 || m_entry == u"-0" || (m_entry.size() == 2 && m_entry.startsWith(u'-'))) {
        m_entry = QStringLiteral("0");
        m_current = Rational::zero();
        return;
    }
    m_entry.chop(1);
    m_current = Rational::parse(m_entry).value_or(Rational::zero());
}

void CalculatorEngine::clearAll()
{
    m_current = Rational::zero();
    m_accumulator.reset();
    m_pending.reset();
    m_lastOp.reset();
    m_lastOperand.reset();
    m_entering = false;
    m_entry = QStringLiteral("0");
    m_fractionMode = false;
    m_fracWhole.clear();
    m_fracNum.clear();
    m_fracDen.clear();
    m_fracStage = 0;
    setShowAsFraction(false);
    setErrorFlag(false);
    setExpression(QString());
    setDisplay(QStringLiteral("0"));
    setReadout(CalcReadout::digits(QStringLiteral("0")));
}

void CalculatorEngine::setError()
{
    setErrorFlag(true);
    setDisplay(QStringLiteral("Error"));
    setReadout(CalcReadout::error());
    setExpression(QString());
    m_entering = false;
}

QString CalculatorEngine::textOf(const Rational &v) const
{
    return m_showAsFraction ? v.mixedText() : v.decimalText(10);
}

void CalculatorEngine::refresh()
{
    if (m_error) {
        setDisplay(QStringLiteral("Error"));
        setReadout(CalcReadout::error());
    } else if (m_entering && m_fractionMode) {
        setDisplay(fractionEntryText());
        setReadout(fractionEntryReadout());
    } else if (m_entering) {
        setDisplay(m_entry);
        setReadout(CalcReadout::digits(m_entry));
    } else if (m_showAsFraction) {
        setDisplay(m_current.mixedText());
        setReadout(m_current.readout());
    } else {
        const QString text = m_current.decimalText(10);
        setDisplay(text);
        setReadout(CalcReadout::digits(text));
    }
}

QString CalculatorEngine::fractionEntryText() const
{
    const QString w = m_fracWhole.isEmpty() ? QStringLiteral("0") : m_fracWhole;
    const QString blank = QStringLiteral(" ");
    switch (m_fracStage) {
    case 0:
        return w;
    case 1:
        return w + u'/' + (m_fracNum.isEmpty() ? blank : m_fracNum);
    default:
        return w + u' ' + (m_fracNum.isEmpty() ? QStringLiteral("0") : m_fracNum) + u'/'
            + (m_fracDen.isEmpty() ? blank : m_fracDen);
    }
}

CalcReadout CalculatorEngine::fractionEntryReadout() const
{
    const QString w = m_fracWhole.isEmpty() ? QStringLiteral("0") : m_fracWhole;
    const QString wd = QString(w).remove(u'-');
    const bool negative = w.startsWith(u'-');
    const QString blank = QStringLiteral(" ");
    switch (m_fracStage) {
    case 0:
        return CalcReadout::digits(w);
    case 1:
        return CalcReadout::fraction(negative, std::nullopt, wd.isEmpty() ? QStringLiteral("0") : wd,
                                     m_fracNum.isEmpty() ? blank : m_fracNum);
    default:
        return CalcReadout::fraction(negative, wd.isEmpty() ? std::nullopt : std::optional<QString>(wd),
                                     m_fracNum.isEmpty() ? blank : m_fracNum, m_fracDen.isEmpty() ? blank : m_fracDen);
    }
}

bool CalculatorEngine::handleKey(const KeyInput &press)
{
    if (press.commandLike())
        return false;
    std::optional<CalcKey> key;
    if (!press.text.isEmpty()) {
        // C clears and F makes a fraction on a Cyrillic or Greek layout too.
        const QChar c = press.latinChar();
        if (c >= u'0' && c <= u'9')
            key = CalcKey::ofDigit(c.unicode() - u'0');
        else if (c == u'.' || c == u',')
            key = CalcKey::of(CalcKey::Kind::dot);
        else if (c == u'+')
            key = CalcKey::ofOp(CalcOp::add);
        else if (c == u'-' || c == u'\u2212')
            key = CalcKey::ofOp(CalcOp::sub);
        else if (c == u'*' || c == u'x' || c == u'X' || c == u'\u00D7')
            key = CalcKey::ofOp(CalcOp::mul);
        else if (c == u'/' || c == u'\u00F7')
            key = CalcKey::ofOp(CalcOp::div);
        else if (c == u'=' || c == u'\r')
            key = CalcKey::of(CalcKey::Kind::equals);
        else if (c == u'%')
            key = CalcKey::of(CalcKey::Kind::percent);
        else if (c == u'f' || c == u'F')
            key = CalcKey::of(CalcKey::Kind::fraction);
        else if (c == u'c' || c == u'C')
            key = CalcKey::of(CalcKey::Kind::ac);
    }
    if (!key) {
        switch (press.keyCode) {
        case KeyCode::Return:
        case KeyCode::KeypadEnter:
            key = CalcKey::of(CalcKey::Kind::equals);
            break;
        case KeyCode::Delete:
        case KeyCode::ForwardDelete:
            key = CalcKey::of(CalcKey::Kind::backspace);
            break;
        case KeyCode::KeypadDecimal:
            key = CalcKey::of(CalcKey::Kind::dot);
            break;
        case KeyCode::KeypadMultiply:
            key = CalcKey::ofOp(CalcOp::mul);
            break;
        case KeyCode::KeypadPlus:
            key = CalcKey::ofOp(CalcOp::add);
            break;
        case KeyCode::KeypadClear:
            key = CalcKey::of(CalcKey::Kind::ac);
            break;
        case KeyCode::KeypadDivide:
            key = CalcKey::ofOp(CalcOp::div);
            break;
        case KeyCode::KeypadMinus:
            key = CalcKey::ofOp(CalcOp::sub);
            break;
        default:
            return false;
        }
    }
    if (key->kind == CalcKey::Kind::ac) {
        clearAll();
        refresh();
    } else if (key->kind == CalcKey::Kind::backspace) {
        backspace();
        refresh();
    } else if (!m_error) {
        run(*key);
        refresh();
    }
    return true;
}

bool CalculatorEngine::handleQtKey(int qtKey, int modifiers, const QString &text)
{
    const auto mods = Qt::KeyboardModifiers(modifiers);
    KeyInput key;
    key.keyCode = keyCodeFromQt(qtKey, mods);
    key.control = mods.testFlag(Qt::ControlModifier);
    key.option = mods.testFlag(Qt::AltModifier);
    key.command = mods.testFlag(Qt::MetaModifier);
    key.shift = mods.testFlag(Qt::ShiftModifier);
    key.text = text;
    return handleKey(key);
}

void CalculatorEngine::setDisplay(const QString &v)
{
    if (m_display != v) {
        m_display = v;
        emit displayChanged();
    }
}

void CalculatorEngine::setReadout(const CalcReadout &v)
{
    if (!(m_readout == v)) {
        m_readout = v;
        emit readoutChanged();
    }
}

void CalculatorEngine::setExpression(const QString &v)
{
    if (m_expression != v) {
        m_expression = v;
        emit expressionChanged();
    }
}

void CalculatorEngine::setShowAsFraction(bool v)
{
    if (m_showAsFraction != v) {
        m_showAsFraction = v;
        emit showAsFractionChanged();
    }
}

void CalculatorEngine::setErrorFlag(bool v)
{
    if (m_error != v) {
        m_error = v;
        emit errorChanged();
    }
}
